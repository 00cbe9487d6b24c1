// SPDX-License-Identifier: MIT
// Recovery copies: a half-typed case and its file kept whole; the newest copy
// of an ended program taken, a running program's copy and the older ones left;
// a damaged copy set aside with the reason.
#include "io/Recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yawmark::io {
namespace {

Unsaved halfTyped(const char* mass) {
    Unsaved u{startupCaseFile(), QStringLiteral("/cases/skid.yawmark")};
    u.file.texts.text[model::kMassBox] = mass; // Draw would refuse it; the copy keeps it
    u.file.marks = {{sim::RR, {{1, 2}, {3, 4}}, 0.1, true, false}};
    return u;
}

void write(const QString& path, const std::string& text, int ageSeconds) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
    f.flush(); // written now: closing then leaves the time set below
    f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                  QFileDevice::FileModificationTime);
}

TEST(Recovery, aCopyKeepsTheCaseAsTypedAndItsFile) {
    const Unsaved u = halfTyped("12,5");
    const auto read = readUnsavedText(unsavedText(u));
    ASSERT_TRUE(std::holds_alternative<Unsaved>(read));
    EXPECT_EQ(std::get<Unsaved>(read).file, u.file);
    EXPECT_EQ(std::get<Unsaved>(read).path, u.path);
    // A case file is no copy: the file it belongs to is missing.
    EXPECT_TRUE(std::holds_alternative<std::string>(readUnsavedText(caseText(u.file))));
}

TEST(Recovery, theNewestCopyOfAnEndedProgramIsTaken) {
    QTemporaryDir dir;
    // Ended programs left two copies (no lock held); a running one holds its own.
    write(dir.filePath("unsaved-1.yawmark"), unsavedText(halfTyped("1000")), 60);
    write(dir.filePath("unsaved-2.yawmark"), unsavedText(halfTyped("2000")), 10);
    write(dir.filePath("unsaved-3.yawmark"), unsavedText(halfTyped("3000")), 0);
    QLockFile running(dir.filePath("unsaved-3.lock"));
    ASSERT_TRUE(running.tryLock(0));

    RecoveryStore store(dir.path());
    RecoveryStore::Taken taken = store.takeNewest();
    ASSERT_TRUE(taken.unsaved && taken.damaged.isEmpty());
    EXPECT_EQ(taken.unsaved->file.texts.text[model::kMassBox], "2000");
    EXPECT_FALSE(QFile::exists(dir.filePath("unsaved-2.yawmark")));
    EXPECT_TRUE(QFile::exists(dir.filePath("unsaved-1.yawmark")) &&
                QFile::exists(dir.filePath("unsaved-3.yawmark")));
    taken = store.takeNewest(); // then the older one
    ASSERT_TRUE(taken.unsaved);
    EXPECT_EQ(taken.unsaved->file.texts.text[model::kMassBox], "1000");
    EXPECT_FALSE(store.takeNewest().unsaved);

    // This program's own copy is written whole, never taken by itself, and removed.
    ASSERT_FALSE(store.write(halfTyped("4000")));
    EXPECT_TRUE(
        QFileInfo(store.copyPath())
            .fileName()
            .startsWith(QStringLiteral("unsaved-%1-").arg(QCoreApplication::applicationPid())));
    EXPECT_FALSE(store.takeNewest().unsaved);
    store.remove();
    EXPECT_FALSE(QFile::exists(store.copyPath()));
}

TEST(Recovery, aDamagedCopyIsSetAsideWithTheReason) {
    QTemporaryDir dir;
    const QString copy = dir.filePath("unsaved-7.yawmark");
    write(copy, "{\"format\": \"yawmark-case\"", 0);
    RecoveryStore store(dir.path());
    const RecoveryStore::Taken taken = store.takeNewest();
    EXPECT_FALSE(taken.unsaved);
    EXPECT_EQ(taken.damaged, copy);
    EXPECT_NE(taken.problem.find("not a case file"), std::string::npos);
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_TRUE(taken.setAside.startsWith(copy + ".damaged-") && QFile::exists(taken.setAside));
    EXPECT_FALSE(store.takeNewest().unsaved || !store.takeNewest().damaged.isEmpty());
}

} // namespace
} // namespace yawmark::io
