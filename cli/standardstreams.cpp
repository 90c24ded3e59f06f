#include "standardstreams.h"

#include <QBuffer>

namespace parlix::cli {

bool isStandardStream(const QString& file)
{
    return file == u'-';
}

QIODevice& inputBytes(Console& console, QBuffer& text)
{
    if (QIODevice* device = console.in.device())
        return *device;
    text.setData(console.in.readAll().toUtf8());
    text.open(QIODevice::ReadOnly);
    return text;
}

VcardSink outputBytes(Console& console)
{
    return [&console](const QByteArray& block) {
        QIODevice* device = console.out.device();
        if (!device) {
            console.out << QString::fromUtf8(block);
            return true;
        }
        console.out.flush();
        return device->write(block) == block.size();
    };
}

} // namespace parlix::cli
