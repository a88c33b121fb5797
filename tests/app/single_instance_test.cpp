// Two real processes of the program: the second start restores the first and ends, and a file
// named to the second is opened by the first.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/instance_match.h"
#include "core/os/environment.h"
#include "platform/qt/local_instances.h"

namespace kantoria {
namespace {

constexpr int kWaitMs = 15000;

class EnvironmentOf final : public Environment {
  public:
    explicit EnvironmentOf(const QProcessEnvironment& env) : env_(env) {}
    std::optional<std::string> Get(std::string_view name) const override {
        const QString key = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        if (!env_.contains(key)) return std::nullopt;
        return env_.value(key).toStdString();
    }

  private:
    const QProcessEnvironment& env_;
};

// The instances a start in env finds.
LocalInstances InstancesOf(const QString& folder, const QProcessEnvironment& env) {
    return LocalInstances(folder, QString::fromStdString(InstanceScope(EnvironmentOf(env))));
}

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

    QString CataloguePath(const QString& name) {
        const QString path = home.filePath(name);
        QFile::copy(QStringLiteral(KANTORIA_EXAMPLES "/MORKA.ZNL"), path);
        return path;
    }
    void StorePath(const QString& path) {
        QFile conf(home.filePath("config/Velmoor/MORKA2.conf"));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[SETTINGS]\nZNLPATH=" + path.toUtf8() + "\n");
    }
    QProcess& Start(const QStringList& arguments) { return StartIn(env, arguments); }
    QProcess& StartIn(const QProcessEnvironment& in, const QStringList& arguments) {
        running.push_back(std::make_unique<QProcess>());
        QProcess& process = *running.back();
        process.setProcessEnvironment(in);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(KANTORIA_BINARY), arguments);
        EXPECT_TRUE(process.waitForStarted(kWaitMs));
        return process;
    }
    // The captions of the instances that answer, once one shows wanted.
    std::vector<RunningInstance> WaitForCaption(const std::string& wanted) {
        return WaitForCaptionIn(env, wanted);
    }
    std::vector<RunningInstance> WaitForCaptionIn(const QProcessEnvironment& in,
                                                  const std::string& wanted) {
        LocalInstances instances = InstancesOf(home.filePath("runtime/kantoria"), in);
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
    const QString catalogue = CataloguePath("MORKA.ZNL");
    StorePath(catalogue);
    QProcess& first = Start({});
    WaitForCaption("MORKA.ZNL - Kantoria");

    QProcess& second = Start({});
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(WaitForCaption("MORKA.ZNL - Kantoria").size(), 1u);

    const QString other = CataloguePath("other.ZNL");
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
    LocalInstances instances = InstancesOf(home.filePath("runtime/kantoria"), env);
    QElapsedTimer timer;
    timer.start();
    while (instances.Others().size() < 2 && timer.elapsed() < kWaitMs) QTest::qWait(100);
    EXPECT_EQ(instances.Others().size(), 2u);
}

TEST_F(TwoProcessTest, LeftoverSocketOfAnEndedInstanceIsRemoved) {
    const QString folder = home.filePath("runtime/kantoria");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString leftover = folder + "/instance-" +
                             QString::fromStdString(InstanceScope(EnvironmentOf(env))) +
                             "-999999999";
    QFile stale(leftover);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    LocalInstances instances = InstancesOf(folder, env);
    EXPECT_TRUE(instances.Others().empty());
    EXPECT_FALSE(QFile::exists(leftover));
}

// A start on another display or with other settings neither restores the running window nor
// hands it a file: it runs on its own.
TEST_F(TwoProcessTest, AStartOnAnotherDisplayOrWithOtherSettingsRunsOnItsOwn) {
    StorePath(CataloguePath("MORKA.ZNL"));
    Start({});
    WaitForCaption("MORKA.ZNL - Kantoria");
    const QString other = CataloguePath("other.ZNL");
    ASSERT_TRUE(QDir().mkpath(home.filePath("other-config")));
    const struct {
        const char* name;
        QString value;
    } cases[] = {
        {"DISPLAY", env.value("DISPLAY") == ":91" ? ":92" : ":91"},
        {"XDG_CONFIG_HOME", home.filePath("other-config")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment elsewhere = env;
        elsewhere.insert(c.name, c.value);
        QProcess& second = StartIn(elsewhere, {other});
        EXPECT_FALSE(second.waitForFinished(1500));
        EXPECT_EQ(WaitForCaptionIn(elsewhere, "other.ZNL - Kantoria").size(), 1u);
        const std::vector<RunningInstance> first = WaitForCaption("MORKA.ZNL - Kantoria");
        ASSERT_EQ(first.size(), 1u);
        EXPECT_EQ(first[0].captions.front(), "MORKA.ZNL - Kantoria");
    }
}

}  // namespace
}  // namespace kantoria
