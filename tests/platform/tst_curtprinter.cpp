#include "testsupport.h"

#include "platform/curtprinter.h"

#include <QAction>
#include <QFileInfo>
#include <QTest>

using namespace zol;

namespace {

PageSetup kaiPage()
{
    PageSetup s;
    s.leftmargin = 1700.787;  // 30 mm
    s.rightmargin = 1417.323; // 25 mm
    s.bottommargin = 1417.323;
    s.font.Name = QStringLiteral("楷体_GB2312");
    return s;
}

QStringList bodyTexts(const PrintPage& page)
{
    QStringList t;
    for (const PrintOp& op : page.ops)
        if (op.kind == PrintOp::Text && op.place == PrintOp::Body)
            t << op.text;
    return t;
}

} // namespace

class CurtPrinterTest : public QObject {
    Q_OBJECT
private slots:
    // Columns are aligned with runs of blanks: two blanks must be exactly as
    // wide as one Chinese character in every face and size the pages use.
    void blankIsHalfAChineseCharacter_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("size");
        for (double size : {8.0, 9.0, 10.0, 12.0, 14.0}) {
            QTest::newRow(qPrintable(QStringLiteral("楷体 %1").arg(size))) << "楷体_GB2312" << size;
            QTest::newRow(qPrintable(QStringLiteral("宋体 %1").arg(size))) << "宋体" << size;
        }
    }
    void blankIsHalfAChineseCharacter()
    {
        QFETCH(QString, face);
        QFETCH(double, size);
        PageSetup setup;
        setup.font.Name = face;
        CurtPrinter p(setup);
        p.FontSize = size;
        const double zh = p.TextWidth(QStringLiteral("中"));
        QVERIFY(zh > size * 0.3);  // about one em: a real CJK face answered
        QCOMPARE(p.TextWidth(QStringLiteral("  ")), zh);
        QCOMPARE(p.TextWidth(QString(18, QLatin1Char(' '))), 9 * zh);
    }

    // A paragraph wraps inside its indent and the right edge, loses no
    // character, and what runs past the bottom margin goes on a new page
    // with its own header and footer.
    void paragraphsWrapAndContinueOnNewPages()
    {
        CurtPrinter p(kaiPage());
        p.GetFooter = [](int page, QString& l, QString& c, QString& r) {
            l = QStringLiteral("页脚");
            c = QString::number(page);
            r.clear();
        };
        const QString text = QStringLiteral("3：情绪不稳，焦虑，紧张，易怒，常忧郁不乐，对各种刺激反应强烈，"
                                            "缺乏理智，易患心脏病和神经症！ word-wrapped English too.");
        p.StartDoc(0);
        p.NewPage();
        p.FontSize = 10;
        p.CurrentY = 150;
        for (int i = 0; i < 6; ++i) {
            p.CurrentX = 11.5;
            p.PrintParagraph(text, 1, 2, 1.5);
        }
        p.EndDoc();
        const PrintDocument& doc = p.document();
        QCOMPARE(doc.pages.size(), 2);
        QString joined;
        for (int i = 0; i < doc.pages.size(); ++i) {
            QStringList footer;
            for (const PrintOp& op : doc.pages.at(i).ops) {
                if (op.place == PrintOp::Footer && op.kind == PrintOp::Text)
                    footer << op.text;
                if (op.place != PrintOp::Body)
                    continue;
                QCOMPARE(op.a.x(), 11.5);
                QVERIFY(op.a.x() + op.width <= p.RightEdge() + 1e-9);
                QVERIFY(op.a.y() + p.lineHeight(10) <= p.printableHeight() + 1e-9);
                joined += op.text;
            }
            QCOMPARE(footer, (QStringList{QStringLiteral("页脚"), QString::number(i + 1)}));
        }
        QCOMPARE(joined, text.repeated(6));
    }

    // Printing plays the recorded page to the chosen file; the preview keeps
    // its own page. A failure is said, and nothing stays busy.
    void printingGoesThroughThePrintService_data()
    {
        QTest::addColumn<QString>("target");  // in the temporary folder; empty: cancel
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("messages");
        QTest::newRow("pdf written") << "page.pdf" << true << 0;
        QTest::newRow("cancelled") << "" << false << 0;
        QTest::newRow("folder missing") << "none/page.pdf" << false << 1;
    }
    void printingGoesThroughThePrintService()
    {
        QFETCH(QString, target);
        QFETCH(bool, written);
        QFETCH(int, messages);
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        zoltest::PdfPrint print;
        if (!target.isEmpty())
            print.pdfPath = folder.file(target);
        CurtPrinter p(kaiPage());
        auto render = [&p](int mode) {
            p.StartDoc(mode);
            p.NewPage();
            p.PrintLine(QStringLiteral("受试人格线条图"), 12, 2);
            p.LineWidth = 6;
            p.DrawLine(14, 70, 124, 70, 255);
            p.DrawCircle(69, 70, 2, 16711680, 1.0);
            p.EndDoc();
        };
        render(0);
        const PrintDocument preview = p.previewDocument();
        render(1);
        QCOMPARE(print.asked, 1);
        QCOMPARE(p.document().target, 1);
        QCOMPARE(p.document().pages, preview.pages);
        QCOMPARE(p.previewDocument().target, 0);
        QCOMPARE(p.Busy(), false);
        QCOMPARE(QFileInfo(print.pdfPath).size() > 0, written);
        QCOMPARE(dialogs.count(), messages);
        QCOMPARE(p.documentCount(), written ? 2 : 1);  // only a written print counts as ended
    }

    // A document given up half way leaves the page on preview as it was.
    void cancelledDocumentLeavesThePreview()
    {
        CurtPrinter p(kaiPage());
        p.StartDoc(0);
        p.PrintText(QStringLiteral("第一次"));
        p.EndDoc();
        p.StartDoc(0);
        p.PrintText(QStringLiteral("第二次"));
        QVERIFY(p.Busy());
        p.CancelDoc();
        QVERIFY(!p.Busy());
        p.EndDoc();
        QCOMPARE(bodyTexts(p.previewDocument().pages.at(0)), QStringList{QStringLiteral("第一次")});
        QCOMPARE(p.documentCount(), 1);
    }
};

ZOL_TEST(CurtPrinterTest)
#include "tst_curtprinter.moc"
