#include "designerplugin.h"

#include "designtimedrawing.h"
#include "qwirl-qt/qwirlcontrol.h"
#include "taskmenu.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>

namespace qwirl {

DesignerPlugin::DesignerPlugin(QObject* parent) : QObject(parent) {}

QString DesignerPlugin::name() const
{
    return QStringLiteral("qwirl::QwirlControl");
}

QString DesignerPlugin::group() const
{
    return QStringLiteral("QWIRL");
}

QString DesignerPlugin::toolTip() const
{
    return QStringLiteral("QWIRL Control");
}

QString DesignerPlugin::whatsThis() const
{
    return QStringLiteral("Sends SMS through the web SMS gateway; invisible at run time.");
}

QString DesignerPlugin::includeFile() const
{
    return QStringLiteral("qwirl-qt/qwirlcontrol.h");
}

QIcon DesignerPlugin::icon() const
{
    return DesignTimeDrawing::icon();
}

bool DesignerPlugin::isContainer() const
{
    return false;
}

QWidget* DesignerPlugin::createWidget(QWidget* parent)
{
    auto* control = new QwirlControl(parent);
    control->setDesignMode(true);
    return control;
}

bool DesignerPlugin::isInitialized() const
{
    return initialized_;
}

void DesignerPlugin::initialize(QDesignerFormEditorInterface* core)
{
    if (initialized_) {
        return;
    }
    if (QExtensionManager* manager = core->extensionManager()) {
        manager->registerExtensions(new TaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
    }
    initialized_ = true;
}

// The form keeps the control's name and place only: its properties are set by the host at run time.
QString DesignerPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"qwirl::QwirlControl\" name=\"QWIRL1\">\n"
                          "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>100</width>"
                          "<height>50</height></rect></property>\n"
                          " </widget>\n"
                          "</ui>\n");
}

} // namespace qwirl
