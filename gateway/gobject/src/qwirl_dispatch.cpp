// The dispatch view of QwirlControl: members by identifier, arguments and results as GValues.
#include "dispatch_table.h"

#include "qwirl-gobject/qwirl-control.h"

#include <optional>
#include <string>

// The macro spells its first argument out as the domain's name, which the formatter would split.
// clang-format off
G_DEFINE_QUARK(qwirl-invoke-error-quark, qwirl_invoke_error)
// clang-format on

namespace {

using qwirl::gobject::Member;
using qwirl::gobject::MemberKind;

std::optional<gint64> integerOf(const GValue* value)
{
    switch (G_TYPE_FUNDAMENTAL(G_VALUE_TYPE(value))) {
    case G_TYPE_CHAR:
        return g_value_get_schar(value);
    case G_TYPE_UCHAR:
        return g_value_get_uchar(value);
    case G_TYPE_INT:
        return g_value_get_int(value);
    case G_TYPE_UINT:
        return g_value_get_uint(value);
    case G_TYPE_LONG:
        return g_value_get_long(value);
    case G_TYPE_ULONG:
        return g_value_get_ulong(value) > G_MAXINT64 ? G_MAXINT64
                                                     : static_cast<gint64>(g_value_get_ulong(value));
    case G_TYPE_INT64:
        return g_value_get_int64(value);
    case G_TYPE_UINT64:
        return g_value_get_uint64(value) > G_MAXINT64 ? G_MAXINT64
                                                      : static_cast<gint64>(g_value_get_uint64(value));
    default:
        return std::nullopt;
    }
}

bool fail(GError** error, QwirlInvokeError code, const Member& member, const char* why)
{
    g_set_error(error, QWIRL_INVOKE_ERROR, code, "%.*s: %s", static_cast<int>(member.name.size()),
                member.name.data(), why);
    return false;
}

// Method arguments are strings; a NULL string is an absent argument.
bool stringArguments(const Member& member, const GValue* args, guint count, const char* (&out)[3],
                     GError** error)
{
    if (count != member.arguments) {
        return fail(error, QWIRL_INVOKE_ERROR_ARGUMENT_COUNT, member, "wrong number of arguments");
    }
    for (guint i = 0; i < count; ++i) {
        if (!G_VALUE_HOLDS_STRING(&args[i])) {
            return fail(error, QWIRL_INVOKE_ERROR_ARGUMENT_TYPE, member, "arguments must be strings");
        }
        out[i] = g_value_get_string(&args[i]);
    }
    return true;
}

GValue* newValue(GType type)
{
    GValue* value = g_new0(GValue, 1);
    g_value_init(value, type);
    return value;
}

GValue* callMethod(QwirlControl* self, const Member& member, const GValue* args, guint count, GError** error)
{
    const char* text[3] = {};
    if (!stringArguments(member, args, count, text, error)) {
        return nullptr;
    }
    glong result = -1;
    switch (member.dispid) {
    case QWIRL_DISPID_SEND:
        result = qwirl_control_send(self, text[0], text[1]);
        break;
    case QWIRL_DISPID_CHECK_CREDITS:
        result = qwirl_control_check_credits(self);
        break;
    case QWIRL_DISPID_SEND_NOTIFY:
        result = qwirl_control_send_notify(self, text[0], text[1], text[2]);
        break;
    default:
        break;
    }
    GValue* value = newValue(G_TYPE_LONG);
    g_value_set_long(value, result);
    return value;
}

GValue* getProperty(QwirlControl* self, const Member& member)
{
    switch (member.kind) {
    case MemberKind::BooleanProperty: {
        GValue* value = newValue(G_TYPE_BOOLEAN);
        g_value_set_boolean(value, qwirl_control_get_flash(self));
        return value;
    }
    case MemberKind::ShortProperty: {
        GValue* value = newValue(G_TYPE_INT);
        g_value_set_int(value, qwirl_control_get_quality(self));
        return value;
    }
    default:
        break;
    }
    const char* text = "";
    switch (member.dispid) {
    case QWIRL_DISPID_PASSWORD:
        text = qwirl_control_get_password(self);
        break;
    case QWIRL_DISPID_LOGIN:
        text = qwirl_control_get_login(self);
        break;
    case QWIRL_DISPID_SENDER:
        text = qwirl_control_get_sender(self);
        break;
    case QWIRL_DISPID_PROXY_ADDRESS:
        text = qwirl_control_get_proxy_address(self);
        break;
    case QWIRL_DISPID_PROXY_LOGIN:
        text = qwirl_control_get_proxy_login(self);
        break;
    case QWIRL_DISPID_PROXY_PASSWORD:
        text = qwirl_control_get_proxy_password(self);
        break;
    default:
        break;
    }
    GValue* value = newValue(G_TYPE_STRING);
    g_value_set_string(value, text);
    return value;
}

bool putProperty(QwirlControl* self, const Member& member, const GValue* given, GError** error)
{
    if (member.kind == MemberKind::BooleanProperty) {
        if (G_VALUE_HOLDS_BOOLEAN(given)) {
            qwirl_control_set_flash(self, g_value_get_boolean(given));
            return true;
        }
        const std::optional<gint64> number = integerOf(given);
        if (!number) {
            return fail(error, QWIRL_INVOKE_ERROR_ARGUMENT_TYPE, member, "a boolean or a number is needed");
        }
        qwirl_control_set_flash(self, *number != 0);
        return true;
    }
    if (member.kind == MemberKind::ShortProperty) {
        const std::optional<gint64> number = integerOf(given);
        if (!number) {
            return fail(error, QWIRL_INVOKE_ERROR_ARGUMENT_TYPE, member, "a number is needed");
        }
        if (*number < G_MININT16 || *number > G_MAXINT16) {
            return fail(error, QWIRL_INVOKE_ERROR_OVERFLOW, member, "the number does not fit 16 bits");
        }
        qwirl_control_set_quality(self, static_cast<gint16>(*number));
        return true;
    }
    if (!G_VALUE_HOLDS_STRING(given)) {
        return fail(error, QWIRL_INVOKE_ERROR_ARGUMENT_TYPE, member, "a string is needed");
    }
    const char* text = g_value_get_string(given);
    switch (member.dispid) {
    case QWIRL_DISPID_PASSWORD:
        qwirl_control_set_password(self, text);
        break;
    case QWIRL_DISPID_LOGIN:
        qwirl_control_set_login(self, text);
        break;
    case QWIRL_DISPID_SENDER:
        qwirl_control_set_sender(self, text);
        break;
    case QWIRL_DISPID_PROXY_ADDRESS:
        qwirl_control_set_proxy_address(self, text);
        break;
    case QWIRL_DISPID_PROXY_LOGIN:
        qwirl_control_set_proxy_login(self, text);
        break;
    case QWIRL_DISPID_PROXY_PASSWORD:
        qwirl_control_set_proxy_password(self, text);
        break;
    default:
        break;
    }
    return true;
}

} // namespace

gint qwirl_dispatch_id(const char* name)
{
    if (name == nullptr) {
        return QWIRL_DISPID_UNKNOWN;
    }
    const std::optional<Member> member = qwirl::gobject::memberByName(name);
    return member ? member->dispid : QWIRL_DISPID_UNKNOWN;
}

GValue* qwirl_control_invoke(QwirlControl* self, gint dispid, const GValue* args, guint n_args,
                             GError** error)
{
    g_return_val_if_fail(QWIRL_IS_CONTROL(self), nullptr);
    g_return_val_if_fail(error == nullptr || *error == nullptr, nullptr);
    g_return_val_if_fail(args != nullptr || n_args == 0, nullptr);
    const std::optional<Member> member = qwirl::gobject::memberById(dispid);
    if (!member) {
        g_set_error(error, QWIRL_INVOKE_ERROR, QWIRL_INVOKE_ERROR_UNKNOWN_MEMBER,
                    "no member has identifier %d", dispid);
        return nullptr;
    }
    if (member->kind == MemberKind::Method) {
        return callMethod(self, *member, args, n_args, error);
    }
    if (n_args == 0) {
        return getProperty(self, *member);
    }
    if (n_args != 1) {
        fail(error, QWIRL_INVOKE_ERROR_ARGUMENT_COUNT, *member, "a property takes one value");
        return nullptr;
    }
    putProperty(self, *member, &args[0], error);
    return nullptr;
}
