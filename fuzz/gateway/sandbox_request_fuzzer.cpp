// The sandbox's handling of a request body on both paths: any body gets one of its answers and the credit
// never goes below zero. The first byte picks the path.
#include "gateway_service.h"
#include "line_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    static qwirl::sandbox::LineFile log("");
    qwirl::sandbox::GatewayService service({"demo", "demo"}, 2, {"+39000"}, log);
    const std::string_view path = data[0] % 2 == 0 ? "/sms-gw/sendsmart" : "/sms-gw/smartnotify";
    const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (int i = 0; i < 3; ++i) {
        const std::string answer = service.answer(path, body);
        if (answer.rfind("OK", 0) != 0 && answer.rfind("KO ", 0) != 0) {
            std::abort();
        }
    }
    if (service.credit() < 0) {
        std::abort();
    }
    return 0;
}
