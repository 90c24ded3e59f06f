#include "composerpreset.h"

namespace parlix {

ComposerPreset ComposerPreset::single(const QString& number, const QString& surname)
{
    ComposerPreset preset;
    preset.recipientString = number;
    preset.surname = surname;
    return preset;
}

ComposerPreset ComposerPreset::multiple(const QStringList& numbers)
{
    ComposerPreset preset;
    preset.mode = Mode::Multiple;
    preset.hideNumberBox = true;
    for (const QString& number : numbers)
        preset.recipientString += number + u';';
    preset.recipients = numbers;
    return preset;
}

ComposerPreset ComposerPreset::saved(const QString& storedNumbers, const QString& surname,
                                     const QString& text)
{
    ComposerPreset preset;
    preset.recipientString = storedNumbers;
    preset.surname = surname;
    preset.text = text;
    if (storedNumbers.contains(u';')) {
        preset.mode = Mode::Multiple;
        preset.recipients = storedNumbers.split(u';');
        // A list is stored with a ";" after every number, not only between them.
        if (storedNumbers.endsWith(u';'))
            preset.recipients.removeLast();
    }
    return preset;
}

} // namespace parlix
