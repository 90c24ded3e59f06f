#pragma once

#include <glib-object.h>

G_BEGIN_DECLS

/**
 * QWIRL_MAJOR_VERSION:
 *
 * Major version of the QWIRL type library and of the control's persisted version.
 */
#define QWIRL_MAJOR_VERSION 1
/**
 * QWIRL_MINOR_VERSION:
 *
 * Minor version of the QWIRL type library and of the control's persisted version.
 */
#define QWIRL_MINOR_VERSION 6

/**
 * QWIRL_LIBRARY_HELP:
 *
 * Help string of the type library.
 */
#define QWIRL_LIBRARY_HELP "QWIRL ActiveX Control module"
/**
 * QWIRL_DISPATCH_HELP:
 *
 * Help string of the dispatch interface.
 */
#define QWIRL_DISPATCH_HELP "Dispatch interface for QWIRL Control"
/**
 * QWIRL_EVENTS_HELP:
 *
 * Help string of the event interface (the control raises no events).
 */
#define QWIRL_EVENTS_HELP "Event interface for QWIRL Control"
/**
 * QWIRL_CONTROL_HELP:
 *
 * Help string of the control class.
 */
#define QWIRL_CONTROL_HELP "QWIRL Control"

/**
 * QWIRL_LIBRARY_ID:
 *
 * Identifier of the type library `QWIRLLib`.
 */
#define QWIRL_LIBRARY_ID "{3A869223-B8CA-11D5-9ACF-004005495FCD}"
/**
 * QWIRL_DISPATCH_ID:
 *
 * Identifier of the dispatch interface `_DQWIRL`.
 */
#define QWIRL_DISPATCH_ID "{3A869224-B8CA-11D5-9ACF-004005495FCD}"
/**
 * QWIRL_EVENTS_ID:
 *
 * Identifier of the event interface `_DQWIRLEvents`.
 */
#define QWIRL_EVENTS_ID "{3A869225-B8CA-11D5-9ACF-004005495FCD}"
/**
 * QWIRL_CONTROL_CLASS_ID:
 *
 * Class identifier of the control.
 */
#define QWIRL_CONTROL_CLASS_ID "{3A869226-B8CA-11D5-9ACF-004005495FCD}"
/**
 * QWIRL_CONTROL_PROGID:
 *
 * Programmatic name of the control class.
 */
#define QWIRL_CONTROL_PROGID "QWIRL.QWIRLCtrl.1"
/**
 * QWIRL_PROPERTY_PAGE_CLASS_ID:
 *
 * Class identifier of the control's property page.
 */
#define QWIRL_PROPERTY_PAGE_CLASS_ID "{3A869227-B8CA-11D5-9ACF-004005495FCD}"
/**
 * QWIRL_PROPERTY_PAGE_PROGID:
 *
 * Programmatic name of the property page class.
 */
#define QWIRL_PROPERTY_PAGE_PROGID "QWIRL.QWIRLPropPage.1"

/**
 * QwirlDispid:
 * @QWIRL_DISPID_UNKNOWN: no member of that name
 * @QWIRL_DISPID_FLASH: property `Flash` (boolean)
 * @QWIRL_DISPID_PASSWORD: property `Password` (string)
 * @QWIRL_DISPID_LOGIN: property `Login` (string)
 * @QWIRL_DISPID_SENDER: property `Sender` (string)
 * @QWIRL_DISPID_SEND: method `Send` (Number, Text) returning a result code
 * @QWIRL_DISPID_PROXY_ADDRESS: property `ProxyAddress` (string)
 * @QWIRL_DISPID_PROXY_LOGIN: property `ProxyLogin` (string)
 * @QWIRL_DISPID_PROXY_PASSWORD: property `ProxyPassword` (string)
 * @QWIRL_DISPID_CHECK_CREDITS: method `CheckCredits` () returning the credit or -1
 * @QWIRL_DISPID_SEND_NOTIFY: method `SendNotify` (Number, Text, MessageID) returning a result code
 * @QWIRL_DISPID_QUALITY: property `Quality` (16-bit integer)
 *
 * Dispatch interface for QWIRL Control: the member identifiers that qwirl_dispatch_id() returns and
 * qwirl_control_invoke() takes.
 */
typedef enum {
    QWIRL_DISPID_UNKNOWN = -1,
    QWIRL_DISPID_FLASH = 1,
    QWIRL_DISPID_PASSWORD = 2,
    QWIRL_DISPID_LOGIN = 3,
    QWIRL_DISPID_SENDER = 4,
    QWIRL_DISPID_SEND = 5,
    QWIRL_DISPID_PROXY_ADDRESS = 6,
    QWIRL_DISPID_PROXY_LOGIN = 7,
    QWIRL_DISPID_PROXY_PASSWORD = 8,
    QWIRL_DISPID_CHECK_CREDITS = 9,
    QWIRL_DISPID_SEND_NOTIFY = 10,
    QWIRL_DISPID_QUALITY = 11
} QwirlDispid;

/**
 * QwirlInvokeError:
 * @QWIRL_INVOKE_ERROR_UNKNOWN_MEMBER: no member has the identifier
 * @QWIRL_INVOKE_ERROR_ARGUMENT_COUNT: the member takes another number of arguments
 * @QWIRL_INVOKE_ERROR_ARGUMENT_TYPE: an argument has a type the member cannot take
 * @QWIRL_INVOKE_ERROR_OVERFLOW: a number does not fit the property
 *
 * Why qwirl_control_invoke() refused a call.
 */
typedef enum {
    QWIRL_INVOKE_ERROR_UNKNOWN_MEMBER,
    QWIRL_INVOKE_ERROR_ARGUMENT_COUNT,
    QWIRL_INVOKE_ERROR_ARGUMENT_TYPE,
    QWIRL_INVOKE_ERROR_OVERFLOW
} QwirlInvokeError;

/**
 * QWIRL_INVOKE_ERROR:
 *
 * Error domain of qwirl_control_invoke(); the codes are #QwirlInvokeError.
 */
#define QWIRL_INVOKE_ERROR (qwirl_invoke_error_quark())
GQuark qwirl_invoke_error_quark(void);

/**
 * QwirlControl:
 *
 * QWIRL Control: sends SMS through the web SMS gateway and asks it for the account's credit.
 *
 * Eight plain member properties (stored as given, checked only when a method runs, never saved) and three
 * gateway methods with the library's result codes: 0 is success, 1 to 15 the control's own refusals and
 * above 12000 a network failure. Every method is synchronous and blocks for one HTTP exchange; use a control
 * on one thread at a time. The gateway hosts are the built-in ones, or the environment variables
 * `QWIRL_SEND_HOST` and `QWIRL_NOTIFY_HOST` as they are when the control is created.
 */
#define QWIRL_TYPE_CONTROL (qwirl_control_get_type())
G_DECLARE_FINAL_TYPE(QwirlControl, qwirl_control, QWIRL, CONTROL, GObject)

/**
 * qwirl_control_new:
 *
 * A control with the default properties: `Quality` 2, `Flash` %FALSE, six empty strings.
 *
 * Returns: (transfer full): the new control
 */
QwirlControl* qwirl_control_new(void);

/**
 * qwirl_control_get_flash:
 * @self: the control
 *
 * Returns: whether messages go out as flash SMS
 */
gboolean qwirl_control_get_flash(QwirlControl* self);
/**
 * qwirl_control_set_flash:
 * @self: the control
 * @flash: any non-zero value is stored as %TRUE
 */
void qwirl_control_set_flash(QwirlControl* self, gboolean flash);
/**
 * qwirl_control_get_password:
 * @self: the control
 *
 * Returns: (transfer none): the gateway account's password
 */
const char* qwirl_control_get_password(QwirlControl* self);
/**
 * qwirl_control_set_password:
 * @self: the control
 * @password: (nullable): the password; %NULL is stored as empty
 */
void qwirl_control_set_password(QwirlControl* self, const char* password);
/**
 * qwirl_control_get_login:
 * @self: the control
 *
 * Returns: (transfer none): the gateway account's login
 */
const char* qwirl_control_get_login(QwirlControl* self);
/**
 * qwirl_control_set_login:
 * @self: the control
 * @login: (nullable): the login; %NULL is stored as empty
 */
void qwirl_control_set_login(QwirlControl* self, const char* login);
/**
 * qwirl_control_get_sender:
 * @self: the control
 *
 * Returns: (transfer none): the sender text shown on the handset
 */
const char* qwirl_control_get_sender(QwirlControl* self);
/**
 * qwirl_control_set_sender:
 * @self: the control
 * @sender: (nullable): the sender text, stored as given; a send that passes its checks cuts it to 11
 *   characters
 */
void qwirl_control_set_sender(QwirlControl* self, const char* sender);
/**
 * qwirl_control_get_proxy_address:
 * @self: the control
 *
 * Returns: (transfer none): the proxy ("host:port"); empty for the system's own configuration
 */
const char* qwirl_control_get_proxy_address(QwirlControl* self);
/**
 * qwirl_control_set_proxy_address:
 * @self: the control
 * @address: (nullable): the proxy; %NULL is stored as empty
 */
void qwirl_control_set_proxy_address(QwirlControl* self, const char* address);
/**
 * qwirl_control_get_proxy_login:
 * @self: the control
 *
 * Returns: (transfer none): the proxy's user name
 */
const char* qwirl_control_get_proxy_login(QwirlControl* self);
/**
 * qwirl_control_set_proxy_login:
 * @self: the control
 * @login: (nullable): the proxy's user name; %NULL is stored as empty
 */
void qwirl_control_set_proxy_login(QwirlControl* self, const char* login);
/**
 * qwirl_control_get_proxy_password:
 * @self: the control
 *
 * Returns: (transfer none): the proxy's password
 */
const char* qwirl_control_get_proxy_password(QwirlControl* self);
/**
 * qwirl_control_set_proxy_password:
 * @self: the control
 * @password: (nullable): the proxy's password; %NULL is stored as empty
 */
void qwirl_control_set_proxy_password(QwirlControl* self, const char* password);
/**
 * qwirl_control_get_quality:
 * @self: the control
 *
 * Returns: the route class: 1 "h", 2 "l", 3 "ll"
 */
gint16 qwirl_control_get_quality(QwirlControl* self);
/**
 * qwirl_control_set_quality:
 * @self: the control
 * @quality: the route class, stored as given and checked by the methods
 */
void qwirl_control_set_quality(QwirlControl* self, gint16 quality);

/**
 * qwirl_control_send:
 * @self: the control
 * @number: (nullable): the recipient, "+" followed by digits
 * @text: (nullable): the message text; %NULL is an absent text (result 4)
 *
 * Posts one SMS. Blocks until the gateway has answered.
 *
 * Returns: 0 when the gateway accepted it, else a result code
 */
glong qwirl_control_send(QwirlControl* self, const char* number, const char* text);
/**
 * qwirl_control_check_credits:
 * @self: the control
 *
 * Asks the gateway for the account's remaining credit. Blocks until the gateway has answered.
 *
 * Returns: the credit, or -1 on any failure
 */
glong qwirl_control_check_credits(QwirlControl* self);
/**
 * qwirl_control_send_notify:
 * @self: the control
 * @number: (nullable): the recipient, "+" followed by digits
 * @text: (nullable): the message text; %NULL is an absent text (result 4)
 * @message_id: (nullable): the caller's identifier of 1 to 20 digits, reported back by the gateway
 *
 * Posts one SMS to the gateway's notify service. Blocks until the gateway has answered.
 *
 * Returns: 0 when the gateway accepted it, else a result code (14 for a bad @message_id)
 */
glong qwirl_control_send_notify(QwirlControl* self, const char* number, const char* text,
                                const char* message_id);
/**
 * qwirl_control_close_internet:
 * @self: the control
 *
 * Releases any internet session the control keeps open.
 */
void qwirl_control_close_internet(QwirlControl* self);
/**
 * qwirl_control_reset:
 * @self: the control
 *
 * What a container does when it resets the control: the internet objects are closed, the properties keep
 * their values.
 */
void qwirl_control_reset(QwirlControl* self);

/**
 * qwirl_dispatch_id:
 * @name: a member name, matched without regard to letter case
 *
 * The dispatch identifier of a property or method of the control.
 *
 * Returns: the identifier from 1 to 11 (a #QwirlDispid), or -1 for an unknown name
 */
gint qwirl_dispatch_id(const char* name);
/**
 * qwirl_control_invoke:
 * @self: the control
 * @dispid: the member, as qwirl_dispatch_id() gives it
 * @args: (array length=n_args) (nullable): the arguments: none to read a property, its value to set it, a
 *   method's arguments in their order (strings, %NULL an absent string)
 * @n_args: how many arguments @args holds
 * @error: set when the member is unknown or the arguments do not fit it
 *
 * Dispatch interface for QWIRL Control: reads or writes a property, or calls a method, by identifier.
 *
 * Returns: (transfer full) (nullable): the property's value or the method's result; %NULL after setting a
 *   property, and on error
 */
GValue* qwirl_control_invoke(QwirlControl* self, gint dispid, const GValue* args, guint n_args,
                             GError** error);

G_END_DECLS
