// Two real processes of the program: the second start restores the first and ends, and a file
// named to the second is opened by the first.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "ui/app/local_instances.h"

namespace kantoria {
namespace {

constexpr int kWaitMs = 15000;

class TwoProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        for (const char* sub : {"runtime", "config/Velmoor", "data", "cache"})
            ASSERT_TRUE(QDir().mkpath(home.filePath(sub)));
        QFile::setPermissions(home.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_CACHE_HOME", home.filePath("cache"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
    }
    void TearDown() override {
        for (auto& process : running) {
            process->kill();
            process->waitForFinished(kWaitMs);
        }
    }

    QString Catalogue(const QString& name) {
        const QString path = home.filePath(name);
        QFile::copy(QStringLiteral(KANTORIA_EXAMPLES "/MORKA.ZNL"), path);
        return path;
    }
    void StorePath(const QString& path) {
        QFile conf(home.filePath("config/Velmoor/MORKA2.conf"));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[SETTINGS]\nZNLPATH=" + path.toUtf8() + "\n");
    }
    QProcess& Start(const QStringList& arguments) {
        running.push_back(std::make_unique<QProcess>());
        QProcess& process = *running.back();
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(KANTORIA_BINARY), arguments);
        EXPECT_TRUE(process.waitForStarted(kWaitMs));
        return process;
    }
    // The captions of the instances that answer, once one shows wanted.
    std::vector<RunningInstance> WaitForCaption(const std::string& wanted) {
        LocalInstances instances(home.filePath("runtime/kantoria"));
        QElapsedTimer timer;
        timer.start();
        std::vector<RunningInstance> found;
        while (timer.elapsed() < kWaitMs) {
            found = instances.Others();
            for (const RunningInstance& one : found) {
                for (const std::string& caption : one.captions) {
                    if (caption == wanted) return found;
                }
            }
            QTest::qWait(100);
        }
        ADD_FAILURE() << "no instance shows " << wanted;
        return found;
    }

    QTemporaryDir home;
    QProcessEnvironment env;
    std::vector<std::unique_ptr<QProcess>> running;
};

TEST_F(TwoProcessTest, SecondStartOnTheSameCatalogueEndsAndAFileIsHandedOver) {
    const QString catalogue = Catalogue("MORKA.ZNL");
    StorePath(catalogue);
    QProcess& first = Start({});
    WaitForCaption("MORKA.ZNL - Kantoria");

    QProcess& second = Start({});
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(WaitForCaption("MORKA.ZNL - Kantoria").size(), 1u);

    const QString other = Catalogue("other.ZNL");
    QProcess& third = Start({other});
    ASSERT_TRUE(third.waitForFinished(kWaitMs));
    EXPECT_EQ(third.exitCode(), 0);
    const std::vector<RunningInstance> after = WaitForCaption("other.ZNL - Kantoria");
    EXPECT_EQ(after.size(), 1u);
}

TEST_F(TwoProcessTest, WithoutAStoredCatalogueASecondInstanceRuns) {
    Start({});
    WaitForCaption("無題 - Kantoria");
    QProcess& second = Start({});
    EXPECT_FALSE(second.waitForFinished(1500));
    LocalInstances instances(home.filePath("runtime/kantoria"));
    QElapsedTimer timer;
    timer.start();
    while (instances.Others().size() < 2 && timer.elapsed() < kWaitMs) QTest::qWait(100);
    EXPECT_EQ(instances.Others().size(), 2u);
}

TEST_F(TwoProcessTest, LeftoverSocketOfAnEndedInstanceIsRemoved) {
    const QString folder = home.filePath("runtime/kantoria");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile stale(folder + "/instance-999999999");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    LocalInstances instances(folder);
    EXPECT_TRUE(instances.Others().empty());
    EXPECT_FALSE(QFile::exists(folder + "/instance-999999999"));
}

}  // namespace
}  // namespace kantoria
