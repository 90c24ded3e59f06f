#include "contacts/archivedeletion.h"
#include "core/programstate.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

const QString principale = QStringLiteral("Principale");

class ArchiveDeletionTest : public ::testing::Test
{
protected:
    QString book() const { return home.state.folder.bookPath(principale); }
    QStringList table(const char* name) const { return home.rows(book(), QString::fromLatin1(name)); }

    void addSent(const char* cognome, const char* number, const char* date, const char* text)
    {
        home.addMessage(principale, QStringLiteral("inviati"), QString::fromUtf8(cognome),
                        QString::fromUtf8(number), QString::fromUtf8(date), QString::fromUtf8(text));
    }

    TestHome home;
};

TEST_F(ArchiveDeletionTest, ContactStoredTwiceLosesOnlyItsFirstRow)
{
    home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331"));
    home.addContact(principale, QStringLiteral("Mario"), QStringLiteral("Rossi bis"), QStringLiteral("3331"));
    home.addContact(principale, QStringLiteral("Anna"), QStringLiteral("Bianchi"), QStringLiteral("3332"));

    ArchiveDeletion deletion(home.state, ArchiveKind::Contacts, principale);
    EXPECT_TRUE(deletion.deleteRow({QStringLiteral("3331"), QStringLiteral("Rossi bis"), {}, {}}));
    EXPECT_EQ(table("rubrica"), QStringList({QStringLiteral("Mario|Rossi bis|3331| |4"),
                                             QStringLiteral("Anna|Bianchi|3332| |4")}));
    EXPECT_FALSE(deletion.deleteRow({QStringLiteral("9999"), {}, {}, {}}));
    EXPECT_EQ(table("rubrica").size(), 2);
}

TEST_F(ArchiveDeletionTest, DeleteKeyOnSentMessageKeepsNoCopy)
{
    addSent("Rossi", "3331", "01/03/2026 10:00:00", "uno");
    addSent("Rossi", "3331", "02/03/2026 10:00:00", "due");

    ArchiveDeletion deletion(home.state, ArchiveKind::Sent, principale);
    EXPECT_TRUE(deletion.deleteRow({QStringLiteral("3331"), QStringLiteral("Rossi"), QStringLiteral("due"),
                                    QStringLiteral("02/03/2026 10:00:00")}));
    EXPECT_EQ(table("inviati"), QStringList({QStringLiteral("Rossi|3331|01/03/2026 10:00:00|uno")}));
    EXPECT_TRUE(table("cancellati").isEmpty());
}

TEST_F(ArchiveDeletionTest, TickedSentMessageMovesToDeletedWithItsFourValues)
{
    addSent("D'Angelo", "3331", "01/03/2026 10:00:00", "uno");
    addSent("Bianchi", "3332", "01/03/2026 11:00:00", "due");

    ArchiveDeletion deletion(home.state, ArchiveKind::Sent, principale);
    EXPECT_TRUE(deletion.deleteTickedRow({QStringLiteral("3331"), QStringLiteral("D'Angelo"),
                                          QStringLiteral("uno"), QStringLiteral("01/03/2026 10:00:00")}));
    EXPECT_EQ(table("inviati"), QStringList({QStringLiteral("Bianchi|3332|01/03/2026 11:00:00|due")}));
    EXPECT_EQ(table("cancellati"), QStringList({QStringLiteral("D'Angelo|3331|01/03/2026 10:00:00|uno")}));

    // A row no longer stored (its date changed by hand) still leaves its copy.
    EXPECT_FALSE(deletion.deleteTickedRow({QStringLiteral("3332"), QStringLiteral("Bianchi"),
                                           QStringLiteral("due"), QStringLiteral("99/99/9999 00:00:00")}));
    EXPECT_EQ(table("inviati").size(), 1);
    EXPECT_EQ(table("cancellati").size(), 2);
}

TEST_F(ArchiveDeletionTest, TickedSavedAndDeletedMessagesAreCopiedNowhere)
{
    for (const auto& [kind, name] :
         {std::pair{ArchiveKind::Saved, "salvati"}, std::pair{ArchiveKind::Deleted, "cancellati"}}) {
        home.addMessage(principale, QString::fromLatin1(name), QStringLiteral("Rossi"),
                        QStringLiteral("3331"), QStringLiteral("01/03/2026 10:00:00"),
                        QStringLiteral("testo"));
        ArchiveDeletion deletion(home.state, kind, principale);
        EXPECT_TRUE(
            deletion.deleteTickedRow({QStringLiteral("3331"), QStringLiteral("Rossi"),
                                      QStringLiteral("testo"), QStringLiteral("01/03/2026 10:00:00")}));
    }
    EXPECT_TRUE(table("salvati").isEmpty());
    EXPECT_TRUE(table("cancellati").isEmpty());
    EXPECT_TRUE(table("inviati").isEmpty());
}

TEST_F(ArchiveDeletionTest, MessageIsFoundByNumberAndDateTogether)
{
    addSent("Rossi", "3331", "01/03/2026 10:00:00", "uno");
    ArchiveDeletion deletion(home.state, ArchiveKind::Sent, principale);
    EXPECT_FALSE(deletion.deleteRow({QStringLiteral("3331"), {}, {}, QStringLiteral("01/03/2026 10:00:01")}));
    EXPECT_FALSE(deletion.deleteRow({QStringLiteral("3332"), {}, {}, QStringLiteral("01/03/2026 10:00:00")}));
    EXPECT_EQ(table("inviati").size(), 1);
}

TEST_F(ArchiveDeletionTest, ARowWhoseRowidNowHoldsAnotherNumberIsNotDeleted)
{
    addSent("Rossi", "3331", "01/03/2026 10:00:00", "uno");
    ArchiveDeletion deletion(home.state, ArchiveKind::Sent, principale);
    // Row 1 is Rossi's; the list showed another message under that rowid.
    RowSelection stale{QStringLiteral("3339"), QStringLiteral("Verdi"), QStringLiteral("vecchio"),
                       QStringLiteral("01/03/2026 10:00:00"), 1};
    EXPECT_FALSE(deletion.deleteRow(stale));
    EXPECT_FALSE(deletion.deleteTickedRow(stale));
    EXPECT_EQ(table("inviati").size(), 1);
    // The shown values are kept in cancellati all the same, as for any row gone meanwhile.
    EXPECT_EQ(table("cancellati"), QStringList({QStringLiteral("Verdi|3339|01/03/2026 10:00:00|vecchio")}));
    stale.cellulare = QStringLiteral("3331");
    EXPECT_TRUE(deletion.deleteRow(stale));
    EXPECT_TRUE(table("inviati").isEmpty());
}

} // namespace
