// QwirlControl: the GObject face of qwirl::Control, for hosts that reach it through the Qwirl type library.
#include "qwirl-gobject/qwirl-control.h"

#include "qwirl/control.h"

#include <new>
#include <string>

struct _QwirlControl
{
    GObject parent_instance;
    qwirl::Control* control;
};

G_DEFINE_FINAL_TYPE(QwirlControl, qwirl_control, G_TYPE_OBJECT)

namespace {

enum Property {
    PropFlash = 1,
    PropPassword,
    PropLogin,
    PropSender,
    PropProxyAddress,
    PropProxyLogin,
    PropProxyPassword,
    PropQuality,
    PropCount
};

std::string stringOrEmpty(const char* text)
{
    return text != nullptr ? std::string(text) : std::string();
}

void getProperty(GObject* object, guint id, GValue* value, GParamSpec* pspec)
{
    const qwirl::Control& c = *QWIRL_CONTROL(object)->control;
    switch (id) {
    case PropFlash:
        g_value_set_boolean(value, c.Flash());
        break;
    case PropPassword:
        g_value_set_string(value, c.password().c_str());
        break;
    case PropLogin:
        g_value_set_string(value, c.login().c_str());
        break;
    case PropSender:
        g_value_set_string(value, c.Sender().c_str());
        break;
    case PropProxyAddress:
        g_value_set_string(value, c.ProxyAddress().c_str());
        break;
    case PropProxyLogin:
        g_value_set_string(value, c.ProxyLogin().c_str());
        break;
    case PropProxyPassword:
        g_value_set_string(value, c.ProxyPassword().c_str());
        break;
    case PropQuality:
        g_value_set_int(value, c.Quality());
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
    }
}

void setProperty(GObject* object, guint id, const GValue* value, GParamSpec* pspec)
{
    qwirl::Control& c = *QWIRL_CONTROL(object)->control;
    switch (id) {
    case PropFlash:
        c.setFlash(g_value_get_boolean(value) != FALSE);
        break;
    case PropPassword:
        c.setPassword(stringOrEmpty(g_value_get_string(value)));
        break;
    case PropLogin:
        c.setLogin(stringOrEmpty(g_value_get_string(value)));
        break;
    case PropSender:
        c.setSender(stringOrEmpty(g_value_get_string(value)));
        break;
    case PropProxyAddress:
        c.setProxyAddress(stringOrEmpty(g_value_get_string(value)));
        break;
    case PropProxyLogin:
        c.setProxyLogin(stringOrEmpty(g_value_get_string(value)));
        break;
    case PropProxyPassword:
        c.setProxyPassword(stringOrEmpty(g_value_get_string(value)));
        break;
    case PropQuality:
        c.setQuality(static_cast<short>(g_value_get_int(value)));
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
    }
}

void finalize(GObject* object)
{
    delete QWIRL_CONTROL(object)->control; // closes the internet objects
    G_OBJECT_CLASS(qwirl_control_parent_class)->finalize(object);
}

GParamSpec* stringProperty(const char* name, const char* blurb)
{
    return g_param_spec_string(name, name, blurb, "",
                               static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS));
}

} // namespace

static void qwirl_control_class_init(QwirlControlClass* klass)
{
    GObjectClass* object = G_OBJECT_CLASS(klass);
    object->get_property = getProperty;
    object->set_property = setProperty;
    object->finalize = finalize;

    const auto flags = static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS);
    GParamSpec* properties[PropCount] = {};
    properties[PropFlash] = g_param_spec_boolean("Flash", "Flash", "Send as flash SMS", FALSE, flags);
    properties[PropPassword] = stringProperty("password", "Gateway account password");
    properties[PropLogin] = stringProperty("login", "Gateway account login");
    properties[PropSender] = stringProperty("Sender", "Sender text (a send cuts it to 11 characters)");
    properties[PropProxyAddress] =
        stringProperty("ProxyAddress", "Proxy host:port, empty for the system's own");
    properties[PropProxyLogin] = stringProperty("ProxyLogin", "Proxy user name");
    properties[PropProxyPassword] = stringProperty("ProxyPassword", "Proxy password");
    properties[PropQuality] = g_param_spec_int("Quality", "Quality", "Route class: 1 h, 2 l, 3 ll",
                                               G_MININT16, G_MAXINT16, qwirl::Control::DefaultQuality, flags);
    g_object_class_install_properties(object, PropCount, properties);
}

static void qwirl_control_init(QwirlControl* self)
{
    self->control = new qwirl::Control();
}

QwirlControl* qwirl_control_new(void)
{
    return QWIRL_CONTROL(g_object_new(QWIRL_TYPE_CONTROL, nullptr));
}

gboolean qwirl_control_get_flash(QwirlControl* self)
{
    g_return_val_if_fail(QWIRL_IS_CONTROL(self), FALSE);
    return self->control->Flash();
}

void qwirl_control_set_flash(QwirlControl* self, gboolean flash)
{
    g_return_if_fail(QWIRL_IS_CONTROL(self));
    self->control->setFlash(flash != FALSE);
}

#define QWIRL_STRING_PROPERTY(lower, Getter, Setter)                                                         \
    const char* qwirl_control_get_##lower(QwirlControl* self)                                                \
    {                                                                                                        \
        g_return_val_if_fail(QWIRL_IS_CONTROL(self), nullptr);                                               \
        return self->control->Getter().c_str();                                                              \
    }                                                                                                        \
    void qwirl_control_set_##lower(QwirlControl* self, const char* value)                                    \
    {                                                                                                        \
        g_return_if_fail(QWIRL_IS_CONTROL(self));                                                            \
        self->control->Setter(stringOrEmpty(value));                                                         \
    }

QWIRL_STRING_PROPERTY(password, password, setPassword)
QWIRL_STRING_PROPERTY(login, login, setLogin)
QWIRL_STRING_PROPERTY(sender, Sender, setSender)
QWIRL_STRING_PROPERTY(proxy_address, ProxyAddress, setProxyAddress)
QWIRL_STRING_PROPERTY(proxy_login, ProxyLogin, setProxyLogin)
QWIRL_STRING_PROPERTY(proxy_password, ProxyPassword, setProxyPassword)

#undef QWIRL_STRING_PROPERTY

gint16 qwirl_control_get_quality(QwirlControl* self)
{
    g_return_val_if_fail(QWIRL_IS_CONTROL(self), 0);
    return self->control->Quality();
}

void qwirl_control_set_quality(QwirlControl* self, gint16 quality)
{
    g_return_if_fail(QWIRL_IS_CONTROL(self));
    self->control->setQuality(quality);
}

glong qwirl_control_send(QwirlControl* self, const char* number, const char* text)
{
    g_return_val_if_fail(QWIRL_IS_CONTROL(self), -1);
    return self->control->Send(qwirl::optionalText(number), qwirl::optionalText(text));
}

glong qwirl_control_check_credits(QwirlControl* self)
{
    g_return_val_if_fail(QWIRL_IS_CONTROL(self), -1);
    return self->control->CheckCredits();
}

glong qwirl_control_send_notify(QwirlControl* self, const char* number, const char* text,
                                const char* message_id)
{
    g_return_val_if_fail(QWIRL_IS_CONTROL(self), -1);
    return self->control->SendNotify(qwirl::optionalText(number), qwirl::optionalText(text),
                                     qwirl::optionalText(message_id));
}

void qwirl_control_close_internet(QwirlControl* self)
{
    g_return_if_fail(QWIRL_IS_CONTROL(self));
    self->control->CloseInternet();
}

void qwirl_control_reset(QwirlControl* self)
{
    g_return_if_fail(QWIRL_IS_CONTROL(self));
    self->control->CloseInternet();
}
