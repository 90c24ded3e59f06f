// A vCard file to import may hold anything: any bytes give cards of bounded
// size and contacts, never a crash, and every contact read can be written
// back as a card.
#include "transfer/vcardcards.h"
#include "transfer/vcardcontact.h"
#include "transfer/vcardwriter.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QBuffer source;
    source.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    source.open(QIODevice::ReadOnly);
    parlix::vcard::CardReader reader(source);
    parlix::vcard::CardReader::Card card;
    while (reader.next(card)) {
        if (!card.complete)
            continue;
        if (card.text.size() > 65 * 1024)
            std::abort();
        (void)parlix::vcard::cardText(parlix::vcard::readCard(card.text).contact);
    }
    return 0;
}
