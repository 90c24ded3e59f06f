#include "modalpresser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

namespace parlix::test {

namespace {

QString plainCaption(QString caption)
{
    return caption.remove(u'&');
}

} // namespace

ModalPresser::ModalPresser()
{
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &ModalPresser::tick);
    timer_.start();
}

void ModalPresser::press(const QString& caption, std::function<void(QWidget*)> before)
{
    pending_.push_back({caption, std::move(before)});
}

void ModalPresser::escape()
{
    pending_.push_back({QString(), {}});
}

void ModalPresser::tick()
{
    if (pending_.empty())
        return;
    QWidget* box = QApplication::activeModalWidget();
    const bool answerable = qobject_cast<QMessageBox*>(box) || qobject_cast<QInputDialog*>(box) ||
                            qobject_cast<QFileDialog*>(box);
    // The box just pressed may still be on its way out.
    if (!answerable || !box->isVisible() || box == lastBox_)
        return;
    Press press = pending_.front();
    pending_.pop_front();
    lastBox_ = box;
    connect(box, &QObject::destroyed, this, [this, box] {
        if (lastBox_ == box)
            lastBox_ = nullptr;
    });
    if (auto* message = qobject_cast<QMessageBox*>(box))
        texts_ << message->text();
    else
        texts_ << box->windowTitle();
    if (press.before)
        press.before(box);
    if (press.caption.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Escape);
        return;
    }
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
        if (button->isVisible() && plainCaption(button->text()) == press.caption) {
            button->click();
            return;
        }
    }
    QStringList captions;
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
        captions << button->text();
    ADD_FAILURE() << "no button \"" << press.caption.toStdString() << "\" among "
                  << captions.join(u", ").toStdString();
    QTest::keyClick(box, Qt::Key_Escape);
}

} // namespace parlix::test
