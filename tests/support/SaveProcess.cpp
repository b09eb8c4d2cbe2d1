// One window's save as a process of its own, for tests that kill it part-way:
//   save_process save PATH NAME   loads PATH, saves NAME with SaveProcessPeriods(), prints
//                                 "ready", writes the file, prints "done" (exit 1 if it failed)
//   save_process hold-lock PATH   takes the lock of the data file PATH as a writing window does,
//                                 prints "locked" and waits to be killed
#include "SaveProcess.h"
#include "RecordBook.h"

#include <QLockFile>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "save") == 0) {
        const QString path = QString::fromLocal8Bit(argv[2]);
        RecordBook book({path, path, {}});
        if (!book.Load([](std::string_view) {}).ok())
            return 1;
        book.Save(argv[3], SaveProcessPeriods());
        std::printf("ready\n");
        std::fflush(stdout);
        const bool written = book.Write().ok();
        std::printf("done\n");
        std::fflush(stdout);
        return written ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "hold-lock") == 0) {
        QLockFile lock(QString::fromLocal8Bit(argv[2]) + QStringLiteral(".lock"));
        if (!lock.tryLock(1000))
            return 1;
        std::printf("locked\n");
        std::fflush(stdout);
        for (;;)
            ::pause();
    }
    std::fprintf(stderr, "usage: save_process save PATH NAME | hold-lock PATH\n");
    return 2;
}
