#include "exportwaitbox.h"

#include <QLabel>
#include <QVBoxLayout>

namespace parlix {

ExportWaitBox::ExportWaitBox(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Form10"));
    auto* label = new QLabel(QStringLiteral("Attendere la fine delle elaborazioni..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    // 3,690 by 1,680 twips.
    setFixedSize(246, 112);

    closeTimer_.setObjectName(QStringLiteral("Timer1"));
    closeTimer_.setSingleShot(true);
    closeTimer_.setInterval(0);
    connect(&closeTimer_, &QTimer::timeout, this, &QWidget::close);
}

void ExportWaitBox::finish()
{
    closeTimer_.start();
}

} // namespace parlix
