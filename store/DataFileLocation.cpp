#include "DataFileLocation.h"

#include "DataFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace {

const char* const DataFileName = "u.ini";

} // namespace

bool FolderIsWritable(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kalmir-probe-XXXXXX")));
    return probe.open();
}

DataFileLocation LocateDataFile(const QString& programFolder, const QString& userFolder, const FolderCheck& writable)
{
    const QString besideProgram = QDir(programFolder).filePath(QString::fromLatin1(DataFileName));
    if (userFolder.isEmpty() || writable(programFolder))
        return {besideProgram, besideProgram, userFolder};
    const QString perUser = QDir(userFolder).filePath(QString::fromLatin1(DataFileName));
    QFile probe;
    const bool perUserMissing = OpenDataFile(perUser, probe).state == DataFileResult::State::Missing;
    return {perUser, perUserMissing ? besideProgram : perUser, userFolder};
}
