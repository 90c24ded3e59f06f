#include "qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace parlix {

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::OkCancelDefaultCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

Answer QtDialogs::message(const QString& text, MessageIcon icon, MessageButtons buttons, const QString& title)
{
    QMessageBox box(toQt(icon), titleOrDefault(title), text, toQt(buttons), QApplication::activeWindow());
    const auto caption = [&box](QMessageBox::StandardButton which, const QString& text) {
        if (QAbstractButton* button = box.button(which))
            button->setText(text);
    };
    caption(QMessageBox::Yes, QStringLiteral("&Sì"));
    caption(QMessageBox::No, QStringLiteral("&No"));
    caption(QMessageBox::Cancel, QStringLiteral("Annulla"));
    if (buttons == MessageButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    else if (buttons == MessageButtons::OkCancelDefaultCancel)
        box.setDefaultButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // Closed without a button: what Escape would have answered.
        switch (buttons) {
        case MessageButtons::Ok:
            return Answer::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoDefaultNo:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title, const QString& initial,
                                        int maxLength)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOrDefault(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    // Wide enough for the whole title, in a title bar's bold type, beside the
    // window's buttons. The dialog's layout sets its own minimum size, so the
    // width is asked of the field.
    QFont titleFont = dialog.font();
    titleFont.setBold(true);
    if (auto* edit = dialog.findChild<QLineEdit*>())
        edit->setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + 160);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    if (maxLength > 0) {
        if (auto* edit = dialog.findChild<QLineEdit*>())
            edit->setMaxLength(maxLength);
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtDialogs::openFile(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), titleOrDefault(title), folder, filter);
}

QString QtDialogs::saveFile(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), titleOrDefault(title), folder, filter);
}

QString QtDialogs::chooseFolder(const QString& title, const QString& folder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), titleOrDefault(title), folder);
}

} // namespace parlix
