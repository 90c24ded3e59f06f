#pragma once

#include <QObject>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QAction;

namespace qwirl {

class QwirlControl;

// The control's task menu in Designer: "Properties..." opens the property page "General".
class TaskMenu : public QObject, public QDesignerTaskMenuExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    TaskMenu(QwirlControl* control, QObject* parent);

    QAction* preferredEditAction() const override;
    QList<QAction*> taskActions() const override;

private:
    void openPropertyPage();

    QwirlControl* control_;
    QAction* properties_;
};

class TaskMenuFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit TaskMenuFactory(QExtensionManager* parent = nullptr);

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

} // namespace qwirl
