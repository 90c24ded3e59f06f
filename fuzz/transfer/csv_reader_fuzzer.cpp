// A CSV file to import may hold anything: any bytes give contacts and at most one line that stopped the
// import, never a crash, and every contact read can be written back as a line.
#include "transfer/csvformat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const parlix::csv::Reading reading =
        parlix::csv::read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const parlix::Contact& contact : reading.contacts)
        (void)parlix::csv::writeContact(contact);
    if (reading.stop && reading.stop->number < 1)
        std::abort();
    return 0;
}
