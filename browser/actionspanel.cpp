#include "actionspanel.h"

#include "browser/archivelist.h"
#include "contacts/archivedeletion.h"
#include "core/dialogs.h"
#include "store/storeerror.h"
#include "ui/mnemonics.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace parlix {

namespace {

QColor grayText()
{
    return QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
}

void paint(QLabel* label, const QColor& background, const QColor& text)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
}

QFrame* makeFrame(const QString& name, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return frame;
}

} // namespace

ActionsPanel::ActionsPanel(AppContext context, ArchiveList& list, PanelHooks hooks, QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint), context_(context), list_(list),
      hooks_(std::move(hooks))
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);

    const auto makeCommand = [this](const QString& name, const QString& caption, QWidget* frame) {
        auto* label = new QLabel(caption, frame);
        label->setObjectName(name);
        label->setAutoFillBackground(true);
        label->setMouseTracking(true);
        label->setMinimumHeight(22);
        label->installEventFilter(this);
        frame->layout()->addWidget(label);
        return label;
    };
    QFrame* outer = makeFrame(QStringLiteral("Frame1"), this);
    QFrame* sending = makeFrame(QStringLiteral("Frame3"), outer);
    send_ = makeCommand(QStringLiteral("Label2"), QStringLiteral(" Invia SMS singolo"), sending);
    email_ = makeCommand(QStringLiteral("Label3"), QStringLiteral(" Invia Email"), sending);
    exclude_ = makeCommand(QStringLiteral("excludeCommand"), QStringLiteral(" Escludi dagli invii"), sending);
    auto* line = new QFrame(outer);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    QFrame* editing = makeFrame(QStringLiteral("Frame2"), outer);
    edit_ = makeCommand(QStringLiteral("Label1"), QStringLiteral(" Modifica Contatto"), editing);
    remove_ = makeCommand(QStringLiteral("Label4"), QStringLiteral(" Cancella Spuntati"), editing);
    outer->layout()->addWidget(sending);
    outer->layout()->addWidget(line);
    outer->layout()->addWidget(editing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(outer);
    setFixedWidth(160);

    const QPalette system = QApplication::palette();
    for (QLabel* label : {edit_, send_, email_, exclude_}) {
        paint(label, system.color(QPalette::Button), grayText());
        if (available(label))
            paintNormal(label);
    }
    paintNormal(remove_);
    mnemonics::assign(*this);
}

QLabel* ActionsPanel::command(int number) const
{
    switch (number) {
    case 1:
        return edit_;
    case 2:
        return send_;
    case 3:
        return email_;
    case 4:
        return remove_;
    case 5:
        return exclude_;
    default:
        return nullptr;
    }
}

bool ActionsPanel::contactsShown() const
{
    return list_.currentKind() == ArchiveKind::Contacts;
}

bool ActionsPanel::available(const QLabel* label) const
{
    if (label == remove_)
        return true;
    if (!contactsShown())
        return false;
    if (label == edit_)
        return bool(hooks_.editContact);
    if (label == send_)
        return bool(hooks_.sendSingleSms);
    if (label == exclude_)
        return bool(hooks_.excludeFromSending);
    return label == email_;
}

void ActionsPanel::paintNormal(QLabel* label)
{
    const QPalette system = QApplication::palette();
    paint(label, system.color(QPalette::Button), system.color(QPalette::ButtonText));
}

void ActionsPanel::hover(QLabel* label)
{
    if (label != remove_ && !available(label))
        return;
    paint(label, QApplication::palette().color(QPalette::Highlight), Qt::white);
    for (QLabel* other : {edit_, send_, email_, remove_, exclude_}) {
        if (other != label && available(other))
            paintNormal(other);
    }
}

void ActionsPanel::placeAt(const QPoint& globalPosition)
{
    adjustSize();
    QScreen* screen = QGuiApplication::screenAt(globalPosition);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QPoint corner = globalPosition;
    if (screen) {
        const QRect area = screen->availableGeometry();
        corner.setX(std::max(area.left(), std::min(corner.x(), area.right() + 1 - width())));
        corner.setY(std::max(area.top(), std::min(corner.y(), area.bottom() + 1 - height())));
    }
    move(corner);
}

void ActionsPanel::finish()
{
    close();
}

RowSelection ActionsPanel::selectedRow() const
{
    return list_.selection().value_or(RowSelection{});
}

void ActionsPanel::modificaContatto()
{
    const auto row = list_.selection();
    // Without a selected row there is no contact to edit.
    if (!available(edit_) || !row)
        return;
    busy_ = true;
    hooks_.editContact(*row);
    busy_ = false;
    finish();
}

void ActionsPanel::inviaSmsSingolo()
{
    if (!available(send_))
        return;
    // The composer is modal: the panel goes first.
    const auto send = hooks_.sendSingleSms;
    const RowSelection row = selectedRow();
    finish();
    send(row);
}

void ActionsPanel::inviaEmail()
{
    if (!available(email_))
        return;
    busy_ = true;
    // The mail program comes up on top by itself; the window stays where it
    // is, and when no mail program starts the user is told so.
    const QString address = selectedRow().testo.trimmed();
    // A box must not find the panel still drawn behind it.
    hide();
    if (address.isEmpty())
        context_.dialogs.message(QStringLiteral("Il contatto non ha un indirizzo di posta elettronica: "
                                                "aggiungerlo con \"Modifica Contatto\"."),
                                 MessageIcon::Exclamation);
    else if (hooks_.openUrl && !hooks_.openUrl(QUrl(QStringLiteral("mailto:") + address)))
        context_.dialogs.message(QStringLiteral("Impossibile avviare un programma di posta elettronica per "
                                                "scrivere a ") +
                                     address + u'.',
                                 MessageIcon::Exclamation);
    busy_ = false;
    finish();
}

void ActionsPanel::excludeFromSending()
{
    if (!available(exclude_))
        return;
    QStringList numbers;
    for (const RowSelection& row : list_.tickedRows())
        numbers << row.cellulare.trimmed();
    if (numbers.isEmpty() && list_.selection())
        numbers << list_.selection()->cellulare.trimmed();
    numbers.removeAll(QString());
    busy_ = true;
    hide(); // a box must not find the panel still drawn behind it
    hooks_.excludeFromSending(numbers);
    busy_ = false;
    finish();
}

void ActionsPanel::cancellaSpuntati()
{
    busy_ = true;
    const bool confirmed = deleteTicked(context_, list_);
    busy_ = false;
    if (confirmed)
        finish();
}

bool ActionsPanel::deleteTicked(AppContext context, ArchiveList& list)
{
    const Answer answer =
        context.dialogs.message(QStringLiteral("Si desidera Cancellare i contatti selezionati? "),
                                MessageIcon::None, MessageButtons::YesNoDefaultNo);
    const bool confirmed = answer == Answer::Yes;
    if (confirmed) {
        const auto kind = list.currentKind();
        const QString book = list.currentBook();
        // The ticked rows are read from the store a page at a time and go a
        // batch at a time, each batch one transaction; the list reloads once
        // at the end.
        constexpr size_t batchRows = 500;
        std::vector<RowSelection> batch;
        // A long deletion shows how far it has gone and lets the window
        // repaint between batches (input is held back meanwhile).
        QProgressDialog progress(QStringLiteral("Cancellazione dei contatti selezionati in corso..."),
                                 QString(), 0, list.tickedCount(), list.window());
        progress.setObjectName(QStringLiteral("deleteProgress"));
        progress.setWindowTitle(QStringLiteral("Cancella"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        int removed = 0;
        const auto removeBatch = [&] {
            // The ticked row itself, not the first one sharing its number.
            ArchiveDeletion(context.state, *kind, book).deleteTickedRows(batch);
            removed += int(batch.size());
            batch.clear();
            progress.setValue(std::min(removed, progress.maximum()));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
        try {
            if (kind) {
                list.forEachTicked([&](const ArchiveRow& row) {
                    batch.push_back(rowSelection(*kind, row));
                    if (batch.size() == batchRows)
                        removeBatch();
                    return true;
                });
                removeBatch();
            }
        } catch (const StoreError& error) {
            // Batches already deleted stay deleted; the rest are left alone.
            progress.reset();
            context.dialogs.message(error.message(), MessageIcon::Critical);
        }
        list.selectRow(-1);
        list.scheduleReload();
    }
    list.setSelectAll(false);
    return confirmed;
}

bool ActionsPanel::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && !busy_)
        finish();
    return QFrame::event(event);
}

bool ActionsPanel::eventFilter(QObject* watched, QEvent* event)
{
    auto* label = qobject_cast<QLabel*>(watched);
    if (label &&
        (label == edit_ || label == send_ || label == email_ || label == remove_ || label == exclude_)) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            hover(label);
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (label == edit_)
                modificaContatto();
            else if (label == send_)
                inviaSmsSingolo();
            else if (label == email_)
                inviaEmail();
            else if (label == exclude_)
                excludeFromSending();
            else
                cancellaSpuntati();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace parlix
