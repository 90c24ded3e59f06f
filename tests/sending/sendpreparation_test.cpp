#include "core/programstate.h"
#include "sending/sendpreparation.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

using namespace parlix;

namespace {

TypedMessage typed(const QStringList& numbers, const QString& text, bool multiple = true)
{
    return {.multiple = multiple,
            .number = numbers.value(0),
            .recipients = numbers,
            .recipientString = numbers.join(u';'),
            .surname = {},
            .text = text,
            .sender = {},
            .book = QStringLiteral("Principale")};
}

QString replaced(const QString& characters)
{
    return QStringLiteral("Questi caratteri non possono essere spediti e arriveranno come \"?\": %1\n"
                          "Inviare comunque il messaggio?")
        .arg(characters);
}

TEST(SendPreparation, TypedMessagesBecomeABatchOrTheFirstRefusal)
{
    test::TestHome home;
    home.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"), QStringLiteral("Bianchi"),
                    QStringLiteral("3331112222"));
    home.addContact(QStringLiteral("Principale"), QStringLiteral("Łucja"), QStringLiteral("Nowak"),
                    QStringLiteral("3334445555"));
    const QString a = QStringLiteral("3331112222"), b = QStringLiteral("3334445555");
    const QString preview = QStringLiteral(
        "Anteprima dei primi 2 messaggi:\n3331112222 (1 SMS): Ciao Anna\n3334445555 (1 SMS): Ciao Łucja\n"
        "Destinatari: 2. SMS da inviare: 2. Credito necessario: 2.\n\nProcedere con l'invio?");
    using When = SendPreparation::When;
    // What the user sees: the refusal alone, or the boxes shown before the
    // batch followed by its SMS as "number|text".
    const auto outcome = [&](const TypedMessage& typed, When when) {
        const auto made = SendPreparation::prepare(
            typed, *home.state.store, home.state.folder.bookPath(QStringLiteral("Principale")), when);
        if (const Refusal* refusal = std::get_if<Refusal>(&made))
            return QStringList{refusal->text};
        QStringList seen;
        for (const Prompt& prompt : std::get<SendPreparation>(made).prompts())
            seen << prompt.text;
        for (const auto& [to, text] : std::get<SendPreparation>(made).request().messages())
            seen << to + u'|' + text;
        return seen;
    };
    const struct
    {
        const char* what;
        TypedMessage typed;
        When when;
        QStringList seen;
    } rows[] = {
        {"kept for later, the same characters check",
         typed({a}, QStringLiteral("Cześć"), false),
         When::Later,
         {replaced(QStringLiteral("ś ć")), a + QStringLiteral("|Cześć")}},
        {"the filled texts are checked, then the notice and the preview",
         typed({a, b}, QStringLiteral("Ciao {Nome}")),
         When::Now,
         {replaced(QStringLiteral("Ł")), SendPreparation::multipleNotice(), preview,
          a + QStringLiteral("|Ciao Anna"), b + QStringLiteral("|Ciao Łucja")}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(outcome(row.typed, row.when), row.seen) << row.what;
}

} // namespace
