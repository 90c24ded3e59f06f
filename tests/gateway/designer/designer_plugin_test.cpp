#include "designtimedrawing.h"
#include "qwirl-qt/qwirlcontrol.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMetaProperty>
#include <QPainter>
#include <QPluginLoader>
#include <QTabWidget>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <gtest/gtest.h>

#include <memory>

namespace {

using qwirl::QwirlControl;

const QStringList OwnProperties = {QStringLiteral("Flash"),         QStringLiteral("password"),
                                   QStringLiteral("login"),         QStringLiteral("Sender"),
                                   QStringLiteral("ProxyAddress"),  QStringLiteral("ProxyLogin"),
                                   QStringLiteral("ProxyPassword"), QStringLiteral("Quality")};

// The plugin as Designer loads it: from its file, through its interface.
class LoadedPlugin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        loader_.setFileName(QStringLiteral(QWIRL_DESIGNER_PLUGIN_PATH));
        ASSERT_TRUE(loader_.load()) << loader_.errorString().toStdString();
        plugin_ = qobject_cast<QDesignerCustomWidgetInterface*>(loader_.instance());
        ASSERT_NE(plugin_, nullptr);
    }

    // A widget made by the plugin, as it sits on a form being designed.
    QwirlControl* designed(QWidget* form, QSize size)
    {
        auto* control = qobject_cast<QwirlControl*>(plugin_->createWidget(form));
        control->resize(size);
        return control;
    }

    QPluginLoader loader_;
    QDesignerCustomWidgetInterface* plugin_ = nullptr;
};

// A form editor core with an extension manager, which is all the plugin asks of Designer.
class FormEditor : public QDesignerFormEditorInterface
{
public:
    FormEditor() { setExtensionManager(new QExtensionManager(this)); }
};

bool isWhite(QRgb pixel)
{
    return pixel == qRgb(255, 255, 255);
}

// The bounding box of the pixels darker than mid-grey within `area`.
QRect darkPixels(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

TEST_F(LoadedPlugin, OffersTheControlInTheWidgetBoxNamedQwirl1)
{
    EXPECT_EQ(plugin_->name(), QStringLiteral("qwirl::QwirlControl"));
    EXPECT_EQ(plugin_->group(), QStringLiteral("QWIRL"));
    EXPECT_EQ(plugin_->includeFile(), QStringLiteral("qwirl-qt/qwirlcontrol.h"));
    EXPECT_FALSE(plugin_->isContainer());
    EXPECT_EQ(plugin_->icon().availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
    EXPECT_TRUE(plugin_->domXml().contains(QStringLiteral("name=\"QWIRL1\"")));

    QWidget form;
    auto* control = designed(&form, QSize(120, 80));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget(), &form);
    EXPECT_TRUE(control->designMode());
    EXPECT_FALSE(control->isHidden());
}

TEST_F(LoadedPlugin, DrawsWhiteWithTheIconAtTheCentreAndTheCaptionBelow)
{
    QWidget form;
    auto* control = designed(&form, QSize(200, 100));
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    control->render(&image);

    const struct
    {
        QPoint at;
        bool white;
    } pixels[] = {
        {{0, 0}, true},     {{199, 0}, true},  {{0, 99}, true},
        {{199, 99}, true},                                         // the whole rectangle filled
        {{83, 20}, true},   {{116, 20}, true}, {{100, 9}, true},   // just outside the icon
        {{100, 10}, false}, {{86, 28}, false}, {{113, 28}, false}, // inside it: x 84..115, y 10 up to 31,
        {{100, 33}, true},  {{86, 40}, true},                      // where the caption's opaque fill begins
    };
    for (const auto& p : pixels) {
        EXPECT_EQ(isWhite(image.pixel(p.at)), p.white) << p.at.x() << "," << p.at.y();
    }
    const QImage icon = qwirl::DesignTimeDrawing::iconPixmap(32).toImage();
    for (const QPoint& at : {QPoint(16, 0), QPoint(2, 18), QPoint(29, 18), QPoint(16, 21)}) {
        EXPECT_EQ(image.pixel(at + QPoint(84, 10)), icon.pixel(at)) << at.x() << "," << at.y();
    }

    // "QWIRL 1.6": centred, its baseline at the middle of the rectangle moved down by 32 (y 66).
    const QRect text = darkPixels(image, QRect(0, 43, 200, 57));
    const QFontMetrics metrics(control->font());
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NEAR(text.center().x(), 100, 2);
    EXPECT_NEAR(text.width(), metrics.tightBoundingRect(QStringLiteral("QWIRL 1.6")).width(), 3);
    EXPECT_GE(text.bottom(), 64);
    EXPECT_LE(text.bottom(), 68);
    EXPECT_NEAR(text.top(), 66 - metrics.capHeight(), 2);
}

TEST(DesignTimeDrawing, TheIconStaysAtYTenWhereverTheRectangleBegins)
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    const QRect bounds(40, 60, 200, 120);
    qwirl::DesignTimeDrawing::paint(painter, bounds);
    painter.end();
    EXPECT_EQ(image.pixel(140, 40), qwirl::DesignTimeDrawing::iconPixmap(32).toImage().pixel(16, 30));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0)); // nothing outside the rectangle but the icon
    EXPECT_TRUE(isWhite(image.pixel(40, 60)));
    EXPECT_EQ(qwirl::DesignTimeDrawing::textReferencePoint(bounds), QPoint(140, 60 + 32 + 44));
}

TEST(QwirlControlWidget, IsInvisibleAtRunTime)
{
    QWidget form;
    auto* control = new QwirlControl(&form);
    control->setObjectName(QStringLiteral("QWIRL1"));
    form.show();
    EXPECT_FALSE(control->isVisible());
    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::red);
    control->resize(100, 50);
    control->render(&image, QPoint(), QRegion(), QWidget::DrawChildren); // its own painting only
    QImage untouched(100, 50, QImage::Format_RGB32);
    untouched.fill(Qt::red);
    EXPECT_EQ(image, untouched);
}

TEST_F(LoadedPlugin, TheTaskMenuOpensThePropertyPage)
{
    FormEditor core;
    plugin_->initialize(&core);
    EXPECT_TRUE(plugin_->isInitialized());
    QWidget form;
    auto* control = designed(&form, QSize(100, 50));
    auto* menu = qt_extension<QDesignerTaskMenuExtension*>(core.extensionManager(), control);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->taskActions().size(), 1);
    EXPECT_EQ(menu->preferredEditAction(), menu->taskActions().front());
    menu->taskActions().front()->trigger();

    QDialog* page = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog != nullptr && dialog->isVisible()) {
            page = dialog;
        }
    }
    ASSERT_NE(page, nullptr);
    auto* tabs = page->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 1);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
    auto* info = page->findChild<QGroupBox*>(QStringLiteral("Info"));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->title(), QStringLiteral("Info"));
    QStringList texts;
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            texts << label->text();
        }
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("QWIRL 1.6"), QStringLiteral(QWIRL_MAKER_SITE)}));
    EXPECT_FALSE(page->findChild<QLabel*>(QStringLiteral("icon"))->pixmap().isNull());
    page->close();
}

TEST_F(LoadedPlugin, NoPropertyOfTheControlIsStoredInTheForm)
{
    QWidget form;
    auto* control = designed(&form, QSize(100, 50));
    control->setObjectName(QStringLiteral("QWIRL1"));
    const QVariantList values = {true,
                                 QStringLiteral("pw"),
                                 QStringLiteral("demo"),
                                 QStringLiteral("Parlix"),
                                 QStringLiteral("proxy:3128"),
                                 QStringLiteral("u"),
                                 QStringLiteral("p"),
                                 QVariant::fromValue<short>(3)};
    for (int i = 0; i < OwnProperties.size(); ++i) {
        const QMetaObject* meta = control->metaObject();
        const QMetaProperty property = meta->property(meta->indexOfProperty(OwnProperties[i].toLatin1()));
        EXPECT_TRUE(property.isValid()) << OwnProperties[i].toStdString();
        EXPECT_FALSE(property.isStored()) << OwnProperties[i].toStdString();
        EXPECT_FALSE(property.isDesignable()) << OwnProperties[i].toStdString(); // Designer never writes it
        EXPECT_TRUE(control->setProperty(OwnProperties[i].toLatin1(), values[i]));
        EXPECT_EQ(control->property(OwnProperties[i].toLatin1()), values[i]);
    }

    for (const QString& name : OwnProperties) {
        EXPECT_FALSE(plugin_->domXml().contains(QStringLiteral("\"%1\"").arg(name))) << name.toStdString();
    }
}

} // namespace
