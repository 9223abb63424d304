// The plug-in page of the options window with the real plug-in engine
// behind the faked dialogs: the sample plug-ins chosen through "...", the
// capability list and notes they give, and the refusal of a broken file.
#include "platform/QtVXB4Res.h"
#include "tests/support/K27Windows.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString sample(const char* name) {
    return testsupport::sourcePath(QStringLiteral("data/demo/plugins/%1.4SP").arg(QLatin1String(name)));
}

QStringList lines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// The real engine answers the plug-in calls; every dialog stays scripted.
struct Setup {
    PlatformDoubles doubles;
    platform::QtVXB4Res engine;
    K27Windows w;

    Setup() {
        doubles.helper.pluginEngine = &engine;
        // The plug-in frame is in use only with the preview on.
        w.options.chkUseSeiriPrev->click();
    }

    void choose(const QString& path) {
        doubles.helper.fileDlgAnswer = path;
        w.options.Command1->click();
    }
};

} // namespace

class TestPluginPage : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(bytes);
        return path;
    }

private Q_SLOTS:
    void basicPluginListsSixLines() {
        Setup s;
        s.choose(sample("basic"));
        frmOption& o = s.w.options;
        QCOMPARE(o.txtSeiriPlgDir->text(), sample("basic"));
        QCOMPARE(lines(o.List1), QStringList({
                                     QStringLiteral("日付の印字 ---> 可能"),
                                     QStringLiteral("時刻の印字 ---> 不可"),
                                     QStringLiteral("系統番号の印字 ---> 不可"),
                                     QStringLiteral("停名の印字 ---> 不可"),
                                     QStringLiteral("バーコード印字 ---> 不可"),
                                     QStringLiteral("社名切り替え:---> 不可"),
                                 }));
        QCOMPARE(o.txtPlginComment->toPlainText(), QStringLiteral("日付と整理券番号だけを印字する、標準の整理券です。\n"
                                                                  "バーコードと社名の切り替えはありません。"));
        QVERIFY(s.doubles.messages.shown.isEmpty());
        // Without companies the list of names is not asked for.
        QCOMPARE(s.doubles.helper.count(QStringLiteral("VX4_SetCorpAddList")), 0);
    }

    void fullPluginListsTenLines() {
        Setup s;
        s.choose(sample("full"));
        frmOption& o = s.w.options;
        QCOMPARE(o.txtSeiriPlgDir->text(), sample("full"));
        QCOMPARE(lines(o.List1), QStringList({
                                     QStringLiteral("日付の印字 ---> 可能"),
                                     QStringLiteral("時刻の印字 ---> 可能"),
                                     QStringLiteral("系統番号の印字 ---> 可能"),
                                     QStringLiteral("停名の印字 ---> 可能"),
                                     QStringLiteral("バーコード印字 ---> 可能"),
                                     QStringLiteral("バーコード本数 ---> 1"),
                                     QStringLiteral("バーコード系統方式 ---> 系統番号＋往復フラグ"),
                                     QStringLiteral("設定可能な系統範囲 ---> 1 ～ 99"),
                                     QStringLiteral("停留所認識範囲 ---> 1 ～ 99"),
                                     QStringLiteral("社名切り替え:---> 可能"),
                                 }));
        QVERIFY(
            o.txtPlginComment->toPlainText().contains(QStringLiteral("社名は集中操作盤の社名リストで切り替えます。")));
    }

    void declaredValueOtherThanOneIsNotPossible() {
        // The basic ticket without its date, declaring the date as 2.
        QByteArray bytes;
        {
            QFile f(sample("basic"));
            QVERIFY(f.open(QIODevice::ReadOnly));
            bytes = f.readAll();
        }
        bytes.replace("\"date\": 1", "\"date\": 2");
        bytes.replace("\"kind\": \"date\"", "\"kind\": \"text\", \"text\": \"日付なし\"");
        bytes.replace("\"format\": \"{era}{ey}年{m}月{d}日\",", "");
        Setup s;
        s.choose(write(QStringLiteral("date2.4SP"), bytes));
        QVERIFY2(s.doubles.messages.shown.isEmpty(), "The edited plug-in should be valid.");
        QCOMPARE(s.w.options.List1->item(0)->text(), QStringLiteral("日付の印字 ---> 不可"));
        QCOMPARE(s.w.options.List1->count(), 6);
    }

    void brokenFileKeepsThePreviousPlugin() {
        Setup s;
        frmOption& o = s.w.options;
        s.choose(sample("full"));
        const QStringList before = lines(o.List1);
        const QString notes = o.txtPlginComment->toPlainText();

        for (const QByteArray& bytes : {QByteArray("{\"format\": \"k27-ticket/1\""), QByteArray("not a plug-in"),
                                        QByteArray("{\"format\": \"k27-ticket/1\", \"prints\": 1}")}) {
            s.doubles.messages.shown.clear();
            s.choose(write(QStringLiteral("broken.4SP"), bytes));
            QCOMPARE(s.doubles.messages.shown.size(), 1);
            QCOMPARE(s.doubles.messages.shown[0].title, QStringLiteral("プラグインロードエラー"));
            QCOMPARE(s.doubles.messages.shown[0].prompt,
                     QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"));
            QCOMPARE(o.txtSeiriPlgDir->text(), sample("full"));
            QCOMPARE(lines(o.List1), before);
            QCOMPARE(o.txtPlginComment->toPlainText(), notes);
        }

        // Cancelling the dialog is no choice at all.
        s.doubles.messages.shown.clear();
        s.choose(QString());
        QVERIFY(s.doubles.messages.shown.isEmpty());
        QCOMPARE(o.txtSeiriPlgDir->text(), sample("full"));
        QCOMPARE(lines(o.List1), before);
    }

    void storedPathDescribesItselfWhenApplied() {
        // Applying the settings runs the stored plug-in through the engine.
        Setup s;
        OptionRecords r;
        s.w.options.GetOptionInfo(r);
        r.Preview.PluginFile = sample("full");
        s.w.options.SetOptionInfo(r);
        QCOMPARE(s.w.options.List1->count(), 10);
        // A stored path whose file has gone describes nothing and says nothing.
        Setup t;
        r.Preview.PluginFile = dir_.filePath(QStringLiteral("gone.4SP"));
        t.w.options.SetOptionInfo(r);
        QCOMPARE(t.w.options.List1->count(), 0);
        QVERIFY(t.doubles.messages.shown.isEmpty());
    }
};

QTEST_MAIN(TestPluginPage)
#include "tst_pluginPage.moc"
