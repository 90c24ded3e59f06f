#include "importwaitbox.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace parlix {

ImportWaitBox::ImportWaitBox(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Importazione"));
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* label = new QLabel(QStringLiteral("Attendere Importazione in corso....."), frame);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(label);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    setFixedSize(300, 120);
}

} // namespace parlix
