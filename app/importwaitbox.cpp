#include "importwaitbox.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace parlix {

namespace {

constexpr int repaintEveryMs = 40;

} // namespace

ImportWaitBox::ImportWaitBox(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Importazione"));
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* label = new QLabel(QStringLiteral("Attendere Importazione in corso....."), frame);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    progress_ = new QProgressBar(frame);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 0);
    progress_->setFormat(QStringLiteral("%v di %m"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(label);
    frameLayout->addWidget(progress_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    setFixedSize(300, 130);
}

void ImportWaitBox::start()
{
    show();
    raise();
    repaintNow();
}

void ImportWaitBox::setProgress(int done, int total)
{
    if (progress_->maximum() != total)
        progress_->setRange(0, total);
    progress_->setValue(done);
    if (sinceRepaint_.hasExpired(repaintEveryMs) || done == total)
        repaintNow();
}

void ImportWaitBox::repaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceRepaint_.start();
}

} // namespace parlix
