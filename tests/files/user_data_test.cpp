// The user-data uploads on real files over a scripted link; the simulator path is in the app tests.

#include "instrument_settings.h"
#include "link_state.h"
#include "qt_support.h"
#include "user_data_upload.h"

#include <QMessageBox>
#include <QMetaEnum>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

using userdata::Result;
using namespace std::string_literals;
using Events = std::vector<std::string>;

constexpr char kCompleted[] = "Information Message: Setting completion.";
constexpr char kNoConnection[] = "Warning Communication error: Please check connection with RVX4";
constexpr char kTenEntries[] =
    "1M:1dB,2M:1dB,3M:1dB,4M:1dB,5M:1dB,6M:1dB,7M:1dB,8M:1dB,9M:1dB,10M:1dB";

class UserDataUploadTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvel::test::EnsureQtApplication();
        SetDefaultSettings();
        ASSERT_TRUE(dir_.valid());
        userdata::SetLink({
            [this] { events_.push_back("pause"); },
            [this] { events_.push_back("resume"); },
            [this] {
                events_.push_back(std::string("write ") + gLink.txBuffer);
                if (failWrite_) {
                    std::strcpy(gLink.rxBuffer, "Write error");
                }
            },
            [this] {
                events_.push_back("read");
                std::strcpy(gLink.rxBuffer, reply_.c_str());
            },
        });
        // The icon, caption and text of each message box, in its place among the link's events.
        userdata::SetPresenter([this](const userdata::Message& m, QWidget*) {
            const char* icon = QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(m.icon);
            events_.push_back((icon + (" " + m.caption + ": " + m.text)).toStdString());
        });
    }
    void TearDown() override {
        userdata::SetLink({});
        userdata::SetPresenter({});
        userdata::SetFileChooser({});
    }

    // Uploads the file `name` holding `bytes`; a null byte array: no file of that name.
    Result Upload(int kind, const QString& name, const QByteArray& bytes) {
        EXPECT_TRUE(bytes.isNull() || !dir_.write(name, bytes).isEmpty()) << name.toStdString();
        return userdata::WriteUserDataFile(kind, dir_.path(name), nullptr);
    }

    orvel::test::TempFolder dir_;
    Events events_;
    std::string reply_ = "OK";
    bool failWrite_ = false;
};

// Stored, parsed, sent and confirmed, the line end cut as stored files expect.
TEST_F(UserDataUploadTest, TablesAreStoredParsedSentAndConfirmed) {
    std::strcpy(gLink.rxBuffer, "Write error"); // an old one is not taken for a new one
    const Result result = Upload(userdata::kAntenna, "ant.txt", "30M:12.5dB,100M:10.2dB\r\n");
    EXPECT_EQ(result, Result::Completed);
    EXPECT_STREQ(gSettings.efUserText, "30M:12.5dB,100M:10.2dB");
    EXPECT_EQ(gSettings.efUserGain[1], 1020);
    EXPECT_EQ(gSettings.mfUserFreq[0], -200);
    EXPECT_EQ(events_, (Events{"pause", "write EFUSER30M:12.5dB,100M:10.2dB\r\n", "read",
                               kCompleted, "resume"}));
    // Without a final line end the last two characters go.
    Upload(userdata::kAntenna, "a.txt", "30M:12.5dB,100M:10.2dB");
    EXPECT_STREQ(gSettings.efUserText, "30M:12.5dB,100M:10.2");
    // A line-feed-only file loses its line feed only.
    Upload(userdata::kAntenna, "b.txt", "30M:12.5dB\n");
    EXPECT_STREQ(gSettings.efUserText, "30M:12.5dB");
    // A table is one line: further lines are not sent as commands of their own.
    Upload(userdata::kAntenna, "c.txt", QByteArray("\xEF\xBB\xBF") + "5M:1dB,6M:2dB\r\n7M:3dB\r\n");
    EXPECT_STREQ(gSettings.efUserText, "5M:1dB,6M:2dB");
    EXPECT_EQ(events_.back(), "resume");
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "write EFUSER5M:1dB,6M:2dB\r\n"), 1);
}

// Refused files (names judged by their last three letters; more than 1024 bytes, 511 characters
// or 10 entries): the message says why, the stored text stays and the analyzer is not touched.
TEST_F(UserDataUploadTest, RefusedFilesLeaveTheStoredTextAndTheAnalyzerAlone) {
    const char* const kNotOpened = "Warning Read error: This file can not be opened.";
    const char* const kLoadWrong = "Warning Read error: Load went wrong.";
    const std::tuple<int, const char*, QByteArray, Result, const char*> cases[] = {
        // clang-format off
        {userdata::kAntenna, "table.dat", "1M:2dB\r\n", Result::BadFileName, kNotOpened},
        {userdata::kAntenna, "empty.txt", "", Result::LoadFailed, kLoadWrong},
        {userdata::kAntenna, "missing.txt", QByteArray(), Result::LoadFailed, kLoadWrong},
        {userdata::kProbe, "bin.csv", QByteArray("1M:1dB\0\x01\xff\r\n", 12), Result::NotText, kNotOpened},
        {userdata::kAntenna, "big.txt", QByteArray(1025, '1'), Result::TooLong, kLoadWrong},
        {userdata::kAntenna, "long.txt", QByteArray(600, '1') + "\r\n", Result::TooLong, kLoadWrong},
        {userdata::kAntenna, "eleven.txt", QByteArray(kTenEntries) + ",11M:1dB\r\n", Result::TooLong, kLoadWrong},
        // clang-format on
    };
    for (const auto& [kind, name, bytes, result, message] : cases) {
        events_.clear();
        std::strcpy(gSettings.efUserText, "9M:9dB");
        std::strcpy(gSettings.mfUserText, "9M:9dB");
        EXPECT_EQ(Upload(kind, name, bytes), result) << name;
        EXPECT_STREQ(gSettings.efUserText, "9M:9dB") << name;
        EXPECT_STREQ(gSettings.mfUserText, "9M:9dB") << name;
        EXPECT_EQ(gSettings.mfUserFreq[0], -200) << name;
        EXPECT_EQ(events_, Events{message}) << name;
    }
    // An upper-case name is fine; exactly 511 characters and 10 entries still fit.
    const QByteArray ten = QByteArray(kTenEntries).leftJustified(511, ' ');
    EXPECT_EQ(Upload(userdata::kAntenna, "TEN.TXT", ten + "\r\n"), Result::Completed);
    EXPECT_EQ(std::tuple(std::strlen(gSettings.efUserText), gSettings.efUserFreq[9]),
              std::tuple(511u, 100));
}

// A failed write or an error reply: the connection message, still paused, the new text kept.
TEST_F(UserDataUploadTest, FailedWritesAndErrorRepliesReportTheConnectionAndStayPaused) {
    for (const char* reply : {"", "err", "ERR 3", "Read error", "read ERROR"}) {
        events_.clear();
        std::tie(failWrite_, reply_) = std::tuple(*reply == '\0', reply);
        gSettings.modelIndex = failWrite_ ? 0 : 1;
        EXPECT_EQ(Upload(userdata::kAntenna, "a.txt", "30M:12.5dB\r\n"), Result::CommunicationError)
            << reply;
        const char* const write = "write EFUSER30M:12.5dB\r\n";
        EXPECT_EQ(events_, (failWrite_ ? Events{"pause", write, kNoConnection + "10."s}
                                       : Events{"pause", write, "read", kNoConnection + "20."s}))
            << reply;
        EXPECT_STREQ(gSettings.efUserText, "30M:12.5dB");
        EXPECT_EQ(gSettings.efUserFreq[0], 300);
    }
}

TEST_F(UserDataUploadTest, MenuCommandsUseTheChosenFileAndCancelDoesNothing) {
    std::vector<QString> filters;
    QString chosen;
    userdata::SetFileChooser([&](int kind, QWidget*) {
        filters.push_back(userdata::FileFilter(kind));
        return chosen;
    });
    WriteEfUserData();
    EXPECT_TRUE(events_.empty());

    chosen = dir_.write("m.csv", "2M:2dB\r\n");
    WriteMfUserData();
    EXPECT_STREQ(gSettings.mfUserText, "2M:2dB");
    EXPECT_EQ(events_, (Events{"pause", "write MFUSER2M:2dB\r\n", "read", kCompleted, "resume"}));
    EXPECT_EQ(filters, (std::vector<QString>{QStringLiteral("EF Data(*.txt);;EF Data(*.csv)"),
                                             QStringLiteral("MF Data(*.txt);;MF Data(*.csv)")}));
}

} // namespace
