#include "propertypage.h"

#include "designtimedrawing.h"
#include "qwirl-qt/qwirlcontrol.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qwirl {
namespace {

// The page is laid out in dialog units, as its resource gives it: a quarter of the average character
// width across, an eighth of the font height down.
class DialogUnits
{
public:
    explicit DialogUnits(const QFontMetrics& metrics) : x_(metrics.averageCharWidth()), y_(metrics.height())
    {}
    QRect rect(int x, int y, int width, int height) const
    {
        return QRect(x * x_ / 4, y * y_ / 8, width * x_ / 4, height * y_ / 8);
    }

private:
    int x_;
    int y_;
};

// A centred text in its place, widened about its centre when the text needs more room than the place.
QLabel* centredLabel(const QString& text, const QRect& place, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    QRect geometry = place;
    geometry.setWidth(std::max(place.width(), label->sizeHint().width()));
    geometry.setHeight(std::max(place.height(), label->sizeHint().height()));
    geometry.moveCenter(place.center());
    label->setGeometry(geometry);
    return label;
}

} // namespace

QString PropertyPage::makerSite()
{
    return QStringLiteral(QWIRL_MAKER_SITE);
}

PropertyPage::PropertyPage(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("QWIRL Control"));
    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("General"));
    const DialogUnits units(fontMetrics());
    page->setMinimumSize(units.rect(0, 0, 167, 55).size());
    tabs->addTab(page, QStringLiteral("General"));

    auto* info = new QGroupBox(QStringLiteral("Info"), page);
    info->setObjectName(QStringLiteral("Info"));
    info->setGeometry(units.rect(7, 7, 153, 41));
    auto* icon = new QLabel(page);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(DesignTimeDrawing::iconPixmap(32));
    icon->setGeometry(QRect(units.rect(18, 18, 0, 0).topLeft(), QSize(32, 32)));
    centredLabel(QwirlControl::caption(), units.rect(73, 17, 50, 8), page)
        ->setObjectName(QStringLiteral("caption"));
    centredLabel(makerSite(), units.rect(53, 31, 84, 8), page)->setObjectName(QStringLiteral("site"));
    info->lower();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

} // namespace qwirl
