// The main window and the terminal against the receiver simulator: a raw command goes out
// in blue and its answer comes back in red. With KESTREL_SHOT_DIR set, the two windows are
// saved as main-window.png and terminal.png there.
#include "FormMain.h"
#include "FormTerminal.h"
#include "KestrelApplication.h"
#include "LogInspect.h"
#include "UiPrompts.h"
#include "WindowWait.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QPlainTextEdit>

#include <memory>

class ConversationE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void commandAndAnswerInTheirColours();

private:
    void send(const QString& command);

    QTemporaryDir dir_;
    QProcess sim_;
    int com_ = 0;
    QList<UiMessage> messages_;
    QStringList lines_;
    std::unique_ptr<TFormMain> main_;
    std::unique_ptr<TFormTerminal> term_;
};

void ConversationE2eTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
    sim_.setProcessEnvironment(env);
    sim_.start(QStringLiteral(KESTREL_SIM_PATH), {});
    QVERIFY(sim_.waitForStarted(10000));
    QByteArray out;
    while (!out.contains('\n') && sim_.waitForReadyRead(10000))
        out += sim_.readAllStandardOutput();
    const auto m = QRegularExpression(QStringLiteral("^port COM(\\d+) (\\S+)"))
                       .match(QString::fromLatin1(out));
    QVERIFY2(m.hasMatch(), out.constData());
    com_ = m.captured(1).toInt();

    WindowWait::scale = 0.1;
    UiPrompts::setMessageHook([this](QWidget*, const UiMessage& msg) { messages_.append(msg); });
    main_ = std::make_unique<TFormMain>();
    term_ = std::make_unique<TFormTerminal>(main_->CommX1);
    main_->setTerminal(term_.get());
    term_->OnRxLine = [this](const QString& line) { lines_.append(line); };
}

void ConversationE2eTest::cleanupTestCase()
{
    if (term_ && term_->CloseButton->isEnabled())
        term_->CloseButtonClick();
    term_.reset();
    main_.reset();
    sim_.terminate();
    sim_.waitForFinished(5000);
}

void ConversationE2eTest::send(const QString& command)
{
    term_->CommandComboBox->lineEdit()->clear();
    QTest::keyClicks(term_->CommandComboBox->lineEdit(), command);
    QTest::mouseClick(term_->SendButton, Qt::LeftButton);
}

void ConversationE2eTest::commandAndAnswerInTheirColours()
{
    // Discovery found the simulator's port; the user picks it and opens the terminal.
    const int entry = main_->ComPortComboBox->findText(
        QStringLiteral("COM%1(").arg(com_), Qt::MatchStartsWith);
    QVERIFY2(entry >= 0, "the simulator's port is not listed");
    main_->ComPortComboBox->setCurrentIndex(entry);
    QCOMPARE(main_->CommX1.PortNo(), com_);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    QTest::mouseClick(main_->Label1, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(term_.get()));

    QTest::mouseClick(term_->OpenButton, Qt::LeftButton);
    QVERIFY2(messages_.isEmpty(), messages_.isEmpty() ? "" : qPrintable(messages_[0].text));
    QVERIFY(term_->SendButton->isEnabled());

    send(QStringLiteral("AZ"));
    QTRY_COMPARE(lines_.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^AZ\\d$")).match(lines_[0]).hasMatch(),
             qPrintable(lines_[0]));

    const QList<LogRun> runs = logRuns(*term_->RichEdit1->document());
    QCOMPARE(runs.size(), 4);
    QCOMPARE(runs[0].text, QStringLiteral("AZ"));
    QCOMPARE(runs[0].colour, QColor(Qt::blue));
    QCOMPARE(runs[1].text, QStringLiteral("~"));
    QCOMPARE(runs[1].charset, 2);
    QCOMPARE(runs[2].text, lines_[0]);
    QCOMPARE(runs[2].colour, QColor(Qt::red));
    QCOMPARE(runs[3].text, QStringLiteral("~"));
    QCOMPARE(runs[3].colour, QColor(Qt::red));

    const QByteArray shots = qgetenv("KESTREL_SHOT_DIR");
    if (shots.isEmpty())
        return;
    // A little more conversation for the picture.
    for (const char* c : {"MA0000", "BK", "XX"}) {
        const qsizetype before = lines_.size();
        send(QString::fromLatin1(c));
        QTRY_VERIFY(lines_.size() > before);
        QTest::qWait(50);
    }
    const QString d = QString::fromLocal8Bit(shots);
    QVERIFY(main_->grab().save(d + QStringLiteral("/main-window.png")));
    QVERIFY(term_->grab().save(d + QStringLiteral("/terminal.png")));
}

int main(int argc, char** argv)
{
    KestrelApplication app(argc, argv);
    ConversationE2eTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "conversation_e2e_test.moc"
