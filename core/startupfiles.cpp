#include "startupfiles.h"

#include "core/datafolder.h"
#include "core/numbers.h"
#include "core/programstate.h"
#include "core/textfile.h"

#include <QRegularExpression>

#include <limits>

namespace parlix {

namespace {

std::optional<QString> firstLine(const DataFolder& folder, const char* name)
{
    return textfile::readFirstLine(folder.path(QString::fromLatin1(name)));
}

std::optional<short> toShort(const QString& token)
{
    bool ok = false;
    const int value = token.toInt(&ok);
    if (!ok || value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max())
        return std::nullopt;
    return short(value);
}

} // namespace

void loadStartupFiles(ProgramState& state)
{
    const DataFolder& folder = state.folder;
    if (const auto line = firstLine(folder, "persorso"))
        state.percorsoericsoft = *line;
    if (const auto line = firstLine(folder, "intestazione"))
        state.intestazione = *line;
    if (const auto line = firstLine(folder, "progra"))
        state.codicirivenditore = line->split(u'-');
    if (const auto line = firstLine(folder, "residui.txt")) {
        if (const auto credit = numbers::parse(*line))
            state.credito = *credit;
    }
}

PanelSettings readPanelSettings(const DataFolder& folder)
{
    const PanelSettings fallBack;
    const auto text = textfile::read(folder.path(QStringLiteral("tbta")));
    if (!text)
        return fallBack;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList tokens = text->trimmed().split(separators, Qt::SkipEmptyParts);
    if (tokens.size() < 2)
        return fallBack;
    const auto alignment = toShort(tokens[0]);
    const auto width = toShort(tokens[1]);
    if (!alignment || !width || *width + 100 > std::numeric_limits<short>::max())
        return fallBack;
    // The toolbar knows two placings of its text; any other number is no setting.
    if (*alignment != 0 && *alignment != 1)
        return fallBack;
    return {*alignment, *width + 100};
}

PanelSettings applyPanelRules(PanelSettings settings)
{
    if (settings.panelWidthTwips < 2300)
        settings.textAlignment = 0;
    if (settings.panelWidthTwips < 1850)
        settings.panelWidthTwips = 1850;
    return settings;
}

} // namespace parlix
