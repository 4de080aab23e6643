// File > "Hard Copy(&H)...", "Screen Capture(&C)" and "Print(&P)..." of the running program.

#include "acquisition.h"
#include "app_session.h"
#include "bmp_file.h"

#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QProcess>

namespace {

void Trigger(CHardCopyDlg* dialog, int id) {
    dialog->popupMenu()->findChild<QAction*>(QStringLiteral("menu%1").arg(id))->trigger();
}

class HardCopyTest : public AppTest {
protected:
    void SetUp() override {
        // Printing needs a desktop of 1024 x 768 or more; the offscreen one is 800 x 600.
        static QTemporaryDir config;
        const QString json = config.filePath(QStringLiteral("screen.json"));
        if (qgetenv("QT_QPA_PLATFORM") == "offscreen" &&
            orvel::test::WriteFile(json, R"({"screens": [{"name": "desk", "x": 0, "y": 0,
                "width": 1280, "height": 1024, "logicalDpi": 96, "dpr": 1}]})")) {
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + json.toLocal8Bit());
        }
        AppTest::SetUp();
    }

    int PrtCount() const { return static_cast<int>(session.received().count("PRT")); }
};

// Pixels differing from `expected` stretched `scale` times (null `expected`: black pixels).
int Differences(const QImage& image, const QImage& expected = QImage(), int scale = 1) {
    const auto black = [](const QImage& i, int x, int y) { return qGray(i.pixel(x, y)) < 128; };
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count +=
                black(image, x, y) != (!expected.isNull() && black(expected, x / scale, y / scale));
    }
    return count;
}

TEST_F(HardCopyTest, PictureEqualsTheAnalyzersScreenStretchesAndSavesThenCaptureAndPrint) {
    session.simArgs << QStringLiteral("--picture") << session.path("analyzer.pbm");
    Start();
    ui->holdButton->click(); // running: the window pauses the loop
    ASSERT_TRUE(session.waitReceived("CAPT"));
    const QString saved = session.path("stretched.bmp");
    bmpfile::SetPathChooser([&](QWidget*) { return saved; });
    ASSERT_TRUE(session.runHardCopy([&](CHardCopyDlg* dialog) {
        EXPECT_EQ(std::make_pair(dialog->windowTitle(), dialog->size()),
                  std::make_pair(QString("Hard copy"), QSize(352, 250)));
        ASSERT_TRUE(WaitUntil([&] { return !dialog->transferRunning(); }, 20000));
        EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("text1224"))->isHidden());

        const QImage expected(session.path("analyzer.pbm"));
        ASSERT_EQ(expected.size(), QSize(352, 250));
        EXPECT_EQ(Differences(dialog->picture(), expected), 0);

        dialog->resize(704, 500);
        RunFor(50);
        Trigger(dialog, 32818); // "Save(&S)..."
        // Each analyzer dot is 2 x 2 pixels (the file's layout is judged in the BMP file test).
        const QImage stretched(saved);
        EXPECT_EQ(stretched.size(), QSize(704, 500));
        EXPECT_EQ(Differences(stretched, expected, 2), 0);

        Trigger(dialog, 32819); // "Default(&D)"
        EXPECT_EQ(dialog->size(), QSize(352, 250));
    }));
    bmpfile::SetPathChooser(nullptr);
    EXPECT_EQ(PrtCount(), 1);
    // Nothing but the picture while the window was open; the capture resumes after it.
    const int prt = static_cast<int>(session.received().indexOf("PRT"));
    ASSERT_TRUE(session.waitReceived("CAPT", prt));
    EXPECT_EQ(session.receivedSince(prt).mid(0, 2), (QList<QByteArray>{"PRT", "CAPT"}));

    // Screen Capture and Print of the main window.
    session.frame()->setGeometry(100, 100, 1000, 760);
    RunFor(50);
    const QString bmp = session.path("capture.bmp");
    bmpfile::SetPathChooser([&](QWidget*) { return bmp; });
    Menu(menuid::kCaptureSave)->trigger();
    bmpfile::SetPathChooser(nullptr);
    Menu(menuid::kCaptureClipboard)->trigger();
    const QSize client = session.view()->size();
    EXPECT_EQ(std::pair(QImage(bmp).size(), QGuiApplication::clipboard()->image().size()),
              std::pair(client, client));

    const QString pdf = session.path("page.pdf");
    session.printToPdf(pdf, 4);
    EXPECT_TRUE(session.watcher().messages().empty());
    EXPECT_EQ(session.frame()->pos(), QPoint(0, 0));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), session.frame()->size())
        << "the window picture, menu bar included, stays on the clipboard";
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {"-r", "20", "-png", pdf, session.path("page")});
    ASSERT_TRUE(render.waitForFinished(30000));
    EXPECT_EQ(QDir(session.directory()).entryList({QStringLiteral("page*.png")}).size(), 1);
}

// Noisy, unanswered and cut-off pictures in one session: what came is shown, the transfer ends.
TEST_F(HardCopyTest, BadRepliesShowWhatArrivedAndNeverHang) {
    session.simArgs += QStringList{"--prt-noise", "--prt-capital", "5", "--prt-tail", "30000"};
    session.simArgs += QStringList{"--fault", "drop:PRT#2", "--fault", "cut:PRT#3"};
    ASSERT_TRUE(session.start());
    // Name, some black in the picture, the one message box (or none), the line still answers.
    const std::tuple<const char*, bool, const char*, int> replies[] = {
        {"garbage, capital marker and long tail", true, nullptr, 1},
        {"no reply", false, "Please check connection with RVX410.", 1},
        {"hang-up mid-picture", true, nullptr, 0}};
    int prints = 0;
    for (const auto& [name, someBlack, message, present] : replies) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(session.runHardCopy([&](CHardCopyDlg* dialog) {
            ASSERT_TRUE(WaitUntil([&] { return !dialog->transferRunning(); }, 20000));
            EXPECT_EQ(Differences(dialog->picture()) > 0, someBlack);
        }));
        EXPECT_EQ(PrtCount(), ++prints);
        EXPECT_EQ(session.watcher().messages().size(), message != nullptr ? 1u : 0u);
        if (message != nullptr)
            ExpectOneMessage(message, QMessageBox::Warning, "Communication error");
        EXPECT_EQ(CheckPresence(), present) << "nothing of the picture is left over";
    }
}

TEST_F(HardCopyTest, ClosingMidTransferLeavesNothingOnTheLine) {
    session.simArgs = {"--baud", "115200"};
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.runHardCopy([&](CHardCopyDlg* dialog) {
        ASSERT_TRUE(WaitUntil([&] { return session.sim()->countLogLines("> l0370") > 0; }));
        RunFor(300);
        EXPECT_TRUE(dialog->transferRunning());
    }));
    EXPECT_EQ(CheckPresence(), 1);
}

} // namespace
