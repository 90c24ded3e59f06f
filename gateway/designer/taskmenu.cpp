#include "taskmenu.h"

#include "propertypage.h"
#include "qwirl-qt/qwirlcontrol.h"

#include <QAction>

namespace qwirl {

TaskMenu::TaskMenu(QwirlControl* control, QObject* parent)
    : QObject(parent), control_(control), properties_(new QAction(QStringLiteral("Properties..."), this))
{
    properties_->setObjectName(QStringLiteral("properties"));
    connect(properties_, &QAction::triggered, this, &TaskMenu::openPropertyPage);
}

QAction* TaskMenu::preferredEditAction() const
{
    return properties_;
}

QList<QAction*> TaskMenu::taskActions() const
{
    return {properties_};
}

// Window-modal and not blocking: Designer goes on repainting while the page is open.
void TaskMenu::openPropertyPage()
{
    auto* page = new PropertyPage(control_->window());
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->open();
}

TaskMenuFactory::TaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}

QObject* TaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const
{
    if (iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension))) {
        return nullptr;
    }
    if (auto* control = qobject_cast<QwirlControl*>(object)) {
        return new TaskMenu(control, parent);
    }
    return nullptr;
}

} // namespace qwirl
