#pragma once
// Runs the vlr tool on notebooks in a private folder.
#include "notebook_fixture.h"
#include "support/test_paths.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace vlr::test {

struct Outcome {
    int code = -1;
    QByteArray out, err;
};

class VlrTool : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    static QString program() { return binDir() + QStringLiteral("/vlr"); }

    // childSetup runs in the child before vlr starts (limits, descriptor flags).
    static void prepare(QProcess& p, const QString& password = {}, std::function<void()> childSetup = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("VLR_PASSWORD"));
        if (!password.isEmpty())
            env.insert(QStringLiteral("VLR_PASSWORD"), password);
        p.setProcessEnvironment(env);
        if (childSetup)
            p.setChildProcessModifier(childSetup);
    }

    static Outcome finish(QProcess& p) {
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }

    Outcome vlr(const QStringList& args, const QByteArray& input = {}, const QString& password = {},
                std::function<void()> childSetup = {}) {
        QProcess p;
        prepare(p, password, std::move(childSetup));
        p.start(program(), args);
        EXPECT_TRUE(p.waitForStarted());
        p.write(input);
        p.closeWriteChannel();
        return finish(p);
    }
    QString file(const QString& name = QStringLiteral("n.vlr")) const { return dir.filePath(name); }
    static QByteArray bytes(const QString& path) { return fileBytes(path); }
    static void put(const QString& path, const QByteArray& data) { writeFile(path, data); }

    QTemporaryDir dir;
};

} // namespace vlr::test
