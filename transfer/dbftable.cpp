#include "dbftable.h"

#include "transfer/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <shapefil.h>

namespace parlix {

namespace {

// shapelib asks for "<name>.dbf" then "<name>.DBF", and likewise for ".cpg";
// tables copied from Windows come in any case, so the name asked for is
// matched against the folder's files without regard to case.
SAFile openIgnoringCase(const char* filename, const char* access)
{
    const QFileInfo asked(QFile::decodeName(filename));
    QString path = asked.filePath();
    if (!asked.exists()) {
        const QDir dir = asked.dir();
        const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& entry : entries) {
            if (entry.compare(asked.fileName(), Qt::CaseInsensitive) == 0) {
                path = dir.filePath(entry);
                break;
            }
        }
    }
    // Tables are only read: a FIFO or a device under a table's name is
    // refused at once, never waited on.
    if (access[0] != 'r' || std::strchr(access, '+'))
        return nullptr;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info = {};
    std::FILE* file = nullptr;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0)
        file = ::fdopen(fd, access);
    if (!file)
        ::close(fd);
    return reinterpret_cast<SAFile>(file);
}

void keepQuiet(const char*) {}

} // namespace

struct DbfTable::Handle
{
    explicit Handle(DBFHandle dbf) : dbf(dbf) {}
    ~Handle() { DBFClose(dbf); }
    DBFHandle dbf;
};

std::unique_ptr<DbfTable> DbfTable::open(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = openIgnoringCase;
    hooks.Error = keepQuiet;
    DBFHandle dbf = DBFOpenLL(QFile::encodeName(path).constData(), "rb", &hooks);
    if (!dbf)
        return nullptr;
    return std::unique_ptr<DbfTable>(new DbfTable(std::make_unique<Handle>(dbf)));
}

DbfTable::DbfTable(std::unique_ptr<Handle> handle)
    : handle_(std::move(handle)), codePage_(dbf::decoderName(DBFGetCodePage(handle_->dbf))),
      decoder_(codePage_.constData(), QStringDecoder::Flag::Stateless)
{}

DbfTable::~DbfTable() = default;

int DbfTable::recordCount() const
{
    return DBFGetRecordCount(handle_->dbf);
}

int DbfTable::fieldIndex(const QString& name) const
{
    // shapelib compares field names without regard to case.
    return DBFGetFieldIndex(handle_->dbf, name.toLatin1().constData());
}

std::optional<bool> DbfTable::isDeleted(int record) const
{
    if (record < 0 || record >= recordCount())
        return std::nullopt;
    // shapelib answers "not deleted" when it cannot read the record, so the
    // record is read first.
    if (!DBFReadTuple(handle_->dbf, record))
        return std::nullopt;
    return DBFIsRecordDeleted(handle_->dbf, record) != 0;
}

std::optional<QString> DbfTable::text(int record, int field) const
{
    if (record < 0 || record >= recordCount() || field < 0 || field >= DBFGetFieldCount(handle_->dbf))
        return std::nullopt;
    const char* value = DBFReadStringAttribute(handle_->dbf, record, field);
    if (!value)
        return std::nullopt;
    return QString(decoder_.decode(QByteArrayView(value))).trimmed();
}

} // namespace parlix
