// The test reports: the recorded pages of the four report windows, and the
// way a result window opens, prints and closes its report.
#include "testing/testwindows.h"

#include "platform/buildinfo.h"
#include "platform/convert.h"
#include "reports/reportwindows.h"

#include <QAction>
#include <QFileInfo>
#include <QTest>

using namespace zol;
using namespace zoltest;

namespace {

constexpr quint32 kRed = 255;
constexpr quint32 kBlue = 16711680;
constexpr double kPrintableWidth = 127;  // B5, 30 mm and 25 mm margins
// Two blanks are one Chinese character, an em: at 10 points 25.4 * 10 / 72 mm.
constexpr double kEm10 = 25.4 * 10 / 72;

// A result window as a scorer leaves it: raw scores P 5, E 12, N 20, L 8 in
// its labels, the standard scores both in its labels and in the module.
ResultForm& filledResult(const QString& name, const QList<int>& scores)
{
    ResultForm& r = resultWindow(name);
    const QString subject[6] = {QStringLiteral("王小明"), QStringLiteral("男"), QStringLiteral("25"),
                                QStringLiteral("本科"),   QStringLiteral("汉族"), QStringLiteral("中学教师")};
    QLabel* labels[6] = {r.Label18, r.Label20, r.Label22, r.Label24, r.Label26, r.Label28};
    for (int i = 0; i < 6; ++i)
        labels[i]->setText(subject[i]);
    QLabel* raw[4] = {r.Label7, r.Label8, r.Label9, r.Label10};
    QLabel* standard[4] = {r.Label12, r.Label13, r.Label14, r.Label15};
    const int rawValues[4] = {5, 12, 20, 8};
    for (int i = 0; i < 4; ++i) {
        raw[i]->setText(QString::number(rawValues[i]));
        standard[i]->setText(QString::number(scores[i]));
    }
    setScores(scores[0], scores[1], scores[2], scores[3]);
    return r;
}

struct Shape {
    PrintOp::Kind kind;
    double x1, y1, x2, y2;  // circle: centre and radius in x2
    quint32 colour;
    int width;
};

void verifyFigures(const QList<PrintOp>& ops, const QList<Shape>& expected)
{
    QList<PrintOp> figures;
    for (const PrintOp& op : ops)
        if (op.kind != PrintOp::Text && op.place == PrintOp::Body)
            figures << op;
    QCOMPARE(figures.size(), expected.size());
    for (int i = 0; i < figures.size(); ++i) {
        const PrintOp& op = figures[i];
        const Shape& f = expected[i];
        const QString where = QStringLiteral("figure %1").arg(i);
        QVERIFY2(op.kind == f.kind, qPrintable(where));
        // Positions are singles: far off the page they keep fewer decimals.
        const auto near = [](double a, double b) { return qAbs(a - b) < 1e-4 + 1e-6 * qAbs(b); };
        QVERIFY2(near(op.a.x(), f.x1) && near(op.a.y(), f.y1), qPrintable(where));
        if (f.kind == PrintOp::Line)
            QVERIFY2(near(op.b.x(), f.x2) && near(op.b.y(), f.y2), qPrintable(where));
        else
            QVERIFY2(op.radius == f.x2 && op.aspect == 1.0, qPrintable(where));
        QVERIFY2(op.color == f.colour && op.lineWidth == f.width, qPrintable(where));
    }
}

QList<PrintOp> bodyTexts(const QList<PrintOp>& ops)
{
    QList<PrintOp> body;
    for (const PrintOp& op : ops)
        if (op.kind == PrintOp::Text && op.place == PrintOp::Body)
            body << op;
    return body;
}

QStringList texts(const QList<PrintOp>& ops, PrintOp::Place place)
{
    QStringList t;
    for (const PrintOp& op : ops)
        if (op.kind == PrintOp::Text && op.place == place)
            t << op.text;
    return t;
}

} // namespace

class ReportPageTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    // Each report window's page, from a filled result window: texts with
    // their blanks, sizes, places, the chart's figures, header and footer.
    void pageOfEachReport_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QList<int>>("scores");  // standard P, E, N, L
        QTest::addColumn<QList<double>>("chart"); // profile: y of P, E, N, L; E-N: the point
        QTest::newRow("frmzol5, all 50") << "frmzol4" << QList<int>{50, 50, 50, 50}
                                         << QList<double>{80.835, 80.835, 80.835, 80.835};
        QTest::newRow("frmzol501, every item yes, man 25")
            << "frmzol401" << QList<int>{75, 70, 80, 30}
            << QList<double>{66.2525, 69.169, 63.336, 92.501};
        QTest::newRow("frmzol5, off the scale") << "frmzol4" << QList<int>{0, 85, 20, 120}
                                                << QList<double>{110, 60.4195, 98.334, 40.004};
        QTest::newRow("frmzol25, centre mark") << "frmzol21" << QList<int>{50, 50, 50, 50}
                                               << QList<double>{69, 70};
        QTest::newRow("frmzol2501, every item yes, man 25")
            << "frmzol211" << QList<int>{75, 70, 80, 30} << QList<double>{99, 50};
        QTest::newRow("frmzol25, off the scale") << "frmzol21" << QList<int>{0, 85, 20, 120}
                                                 << QList<double>{39, 35};
    }
    void pageOfEachReport()
    {
        QFETCH(QString, result);
        QFETCH(QList<int>, scores);
        QFETCH(QList<double>, chart);
        ResultForm& r = filledResult(result, scores);
        r.Text2->setText(QStringLiteral("2：用户改写过的评价，") + QString(40, QChar(u'长')));
        const bool en = r.chartKind() == ChartKind::EN;
        ReportForm& report = reportWindowOf(r);
        const CurtPrinter& p = *report.CurtPrinter1;
        const PrintDocument& doc = p.previewDocument();
        QCOMPARE(doc.pages.size(), 1);
        const QList<PrintOp>& ops = doc.pages[0].ops;

        // Body texts in order: the heading block, the paragraphs, the date.
        const QList<PrintOp> body = bodyTexts(ops);
        QStringList head = {
            en ? QStringLiteral("Vormel人格问卷测试报告") : QStringLiteral("Vormel人格测试报告"),
            QStringLiteral("            姓    名：王小明"), QStringLiteral("文    化：本科"),
            QStringLiteral("            性    别：男"), QStringLiteral("民    族：汉族"),
            QStringLiteral("            年    龄：25"), QStringLiteral("职    业：中学教师"),
            en ? QStringLiteral("受试人格E-N关系图") : QStringLiteral("受试人格线条图")};
        QList<double> sizes = {14, 10, 10, 10, 10, 10, 10, 12};
        if (en) {
            head << QStringLiteral("     多血质倾向                       胆汁质倾向 ")
                 << QStringLiteral("        (外向，情绪稳定）                   （外向，情绪不稳定） ")
                 << QStringLiteral("     粘液质倾向                       抑郁质倾向")
                 << QStringLiteral("        （内向，情绪稳定）                  （内向，情绪不稳定）")
                 << QStringLiteral(" E  ") << QStringLiteral("(50,50)")
                 << QStringLiteral(" N                                              N")
                 << QStringLiteral(" E  ");
            sizes << 8 << 8 << 8 << 8 << 8 << 8 << 8 << 8;
        }
        const QString t[4] = {QString::number(scores[0]), QString::number(scores[2]),
                              QString::number(scores[1]), QString::number(scores[3])};
        if (en)
            head << QStringLiteral("            粗   分: P=5      N=20     E=12     L=8")
                 << QStringLiteral("            T    分: P=%1      N=%2     E=%3     L=%4")
                        .arg(t[0], t[1], t[2], t[3])
                 << QStringLiteral("人格评价：");
        else
            head << QStringLiteral("            粗   分: P=5     N=20    E=12    L=8")
                 << QStringLiteral("            T    分: P=%1     N=%2    E=%3    L=%4")
                        .arg(t[0], t[1], t[2], t[3])
                 << QStringLiteral("个性评价：");
        sizes << 10 << 10 << 12;
        QVERIFY(body.size() > head.size() + 5);
        for (int i = 0; i < head.size(); ++i) {
            QCOMPARE(body[i].text, head[i]);
            QCOMPARE(body[i].font.Size, sizes[i]);
            QCOMPARE(body[i].font.Name, QStringLiteral("楷体_GB2312"));
        }
        // Titles centred; right entries of the subject block end eighteen
        // blanks (nine ems) short of the right edge; titles end above the chart.
        QVERIFY(qAbs(2 * body[0].a.x() + body[0].width - kPrintableWidth) < 1e-6);
        for (int i : {2, 4, 6}) {
            QVERIFY(qAbs(body[i].a.x() + body[i].width - (kPrintableWidth - 9 * kEm10)) < 1e-6);
            QCOMPARE(body[i].a.y(), body[i - 1].a.y());
        }
        const double chartTop = en ? 30 : 40;
        QVERIFY(body[7].a.y() + p.lineHeight(12) < chartTop);
        if (en) {
            const double h8 = p.lineHeight(8);
            const QList<double> ys = {35, 35 + 2 * h8, 95, 95 + 2 * h8, 35, 65, 65, 95};
            for (int i = 0; i < 8; ++i) {
                QCOMPARE(body[8 + i].a.y(), ys[i]);
                QVERIFY(qAbs(2 * body[8 + i].a.x() + body[8 + i].width - kPrintableWidth) < 1e-6);
            }
        }
        const int scoreLine = head.size() - 3;
        QVERIFY(body[scoreLine].a.y() > 110);

        // The paragraphs: the four texts as the window shows them and the
        // closing remark, wrapped, every line at the indent.
        QString paragraphs;
        for (int i = head.size(); i < body.size() - 1; ++i) {
            QVERIFY(qAbs(body[i].a.x() - (kEm10 + 8)) < 1e-6);
            paragraphs += body[i].text;
        }
        QCOMPARE(paragraphs,
                 r.Text1->text() + r.Text2->text() + r.Text3->text() + r.Text4->text()
                     + (en ? QStringLiteral("5:本报告仅供心理咨询师和临床医师等专业人员参考,不作其它证明之用。")
                           : QStringLiteral("5:本报告供心理咨询师和临床医师等专业人员参考,不作其它证明之用。")));
        const PrintOp& date = body.last();
        QCOMPARE(date.text, en ? QStringLiteral("报 告 者：           报告日期:") + TodaySystemShortDate()
                               : QStringLiteral("                  报 告 者：           报告日期:")
                                     + TodaySystemShortDate() + QStringLiteral("    "));
        QVERIFY(qAbs(date.a.x() + date.width - kPrintableWidth) < 1e-6);
        // Nothing runs out of the printable area.
        for (const PrintOp& op : body)
            QVERIFY(op.a.x() >= 0 && op.a.x() + op.width <= kPrintableWidth + 1e-6
                    && op.a.y() + p.lineHeight(op.font.Size) <= p.printableHeight());

        // The chart.
        if (en) {
            verifyFigures(ops, {{PrintOp::Line, 14, 40, 124, 40, kRed, 1},
                                {PrintOp::Line, 14, 50, 124, 50, kRed, 1},
                                {PrintOp::Line, 14, 60, 124, 60, kBlue, 1},
                                {PrintOp::Line, 14, 70, 124, 70, kRed, 6},
                                {PrintOp::Line, 14, 80, 124, 80, kBlue, 1},
                                {PrintOp::Line, 14, 90, 124, 90, kRed, 1},
                                {PrintOp::Line, 49, 30, 49, 110, kRed, 1},
                                {PrintOp::Line, 59, 30, 59, 110, kBlue, 1},
                                {PrintOp::Line, 69, 30, 69, 110, kRed, 6},
                                {PrintOp::Line, 79, 30, 79, 110, kBlue, 1},
                                {PrintOp::Line, 89, 30, 89, 110, kRed, 1},
                                {PrintOp::Circle, chart[0], chart[1], 2, 0, kRed, 1},
                                {PrintOp::Circle, 69, 70, 2, 0, kRed, 1}});
        } else {
            verifyFigures(ops, {{PrintOp::Line, 12, 40, 123, 40, kRed, 1},
                                {PrintOp::Line, 11, 110, 123, 110, kRed, 1},
                                {PrintOp::Line, 25, 40, 25, 110, kBlue, 1},
                                {PrintOp::Line, 54, 40, 54, 110, kBlue, 1},
                                {PrintOp::Line, 80, 40, 80, 110, kBlue, 1},
                                {PrintOp::Line, 110, 40, 110, 110, kBlue, 1},
                                {PrintOp::Line, 25, chart[0], 54, chart[1], kRed, 4},
                                {PrintOp::Line, 54, chart[1], 80, chart[2], kRed, 4},
                                {PrintOp::Line, 80, chart[2], 110, chart[3], kRed, 4}});
        }

        // Header and footer: set A on the profile reports, set C on the E-N ones.
        const QString web = build::webPage(), mail = build::mailAddress();
        const QStringList header = en ? QStringList{web, QStringLiteral("Hollisk系列软件"),
                                                    QStringLiteral("Email:") + mail}
                                      : QStringList();
        const QStringList footer = en ? QStringList{QStringLiteral("知 识 改 变 命 运   态 度 决 定 高 度")}
                                      : QStringList{web, QStringLiteral("Hollisk系列软件"), mail};
        QCOMPARE(texts(ops, PrintOp::Header), header);
        QCOMPARE(texts(ops, PrintOp::Footer), footer);
        for (const PrintOp& op : ops) {
            if (op.place == PrintOp::Footer && op.kind == PrintOp::Text)
                QVERIFY(op.color == kBlue && op.font.Italic && op.font.Underline);
            if (op.place == PrintOp::Header)
                QVERIFY(op.color == 0 && op.kind == PrintOp::Text);
        }
        QCOMPARE(report.windowTitle(), en ? QStringLiteral("ZOL人格测验成人版")
                                          : QStringLiteral("ZOL人格测验成人版报告打印"));
    }
};

class StoredReportTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup()
    {
        setStoredTestSource(nullptr);
        stopWindows();
    }

    // The stored-test page from the values the browser displays: its own
    // spacing, blank runs, line widths and closing lines, header and footer
    // set B; the chart through the numeric value of each score caption.
    void pageOfStoredTest_data()
    {
        QTest::addColumn<QStringList>("standard");  // captions P, E, N, L
        QTest::addColumn<QList<double>>("chart");   // y of P, E, N, L
        QTest::newRow("all 50") << items(u"50|50|50|50") << QList<double>{80.835, 80.835, 80.835, 80.835};
        QTest::newRow("ends of the scale, a caption with a tail, an empty one")
            << items(u"0|120|56分|") << QList<double>{110, 40.004, 77.3352, 110};
        QTest::newRow("scores a grid edit can store")
            << items(u"99999|-40|2147483647|7") << QList<double>{-58219.4167, 133.332, -1252627101.2951, 105.9169};
    }
    void pageOfStoredTest()
    {
        QFETCH(QStringList, standard);
        QFETCH(QList<double>, chart);
        const ReportValues v{{QStringLiteral("李芳"), QStringLiteral("女"), QStringLiteral("34"),
                              QStringLiteral("硕士"), QStringLiteral("回族"), QStringLiteral("医生")},
                             {"9", "15", "11", "3"},
                             {standard[0], standard[1], standard[2], standard[3]},
                             {QStringLiteral("P：改过的评价"), QStringLiteral("E：性格外倾"), QString(),
                              QStringLiteral("L：") + QString(60, QChar(u'长'))}};
        setStoredTestSource([&v] { return v; });
        Frmzol9Form& report = frmzol9();
        const CurtPrinter& p = *report.CurtPrinter1;
        QVERIFY(p.Zoom() == 40 && report.windowTitle() == QStringLiteral("ZOL人格测验成人版报告打印(2)"));
        const QList<PrintOp>& ops = p.previewDocument().pages.at(0).ops;
        const QList<PrintOp> body = bodyTexts(ops);
        // The subject block is the result reports' own; from the chart's
        // title on the page has its own texts. All of it in 宋体.
        const QString t[4] = {standard[0], standard[2], standard[1], standard[3]};
        const QStringList head = {
            QStringLiteral("受试人格轮廓图"),
            QStringLiteral("            粗   分: P=9      N=11     E=15     L=3"),
            QStringLiteral("            T    分: P=%1     N=%2    E=%3    L=%4").arg(t[0], t[1], t[2], t[3]),
            QStringLiteral("个性评价：")};
        const double sizes[4] = {12, 10, 10, 12};
        QCOMPARE(body[0].text, QStringLiteral("Vormel人格测试报告"));
        QCOMPARE(body[1].text, QStringLiteral("            姓    名：李芳"));
        for (int i = 0; i < 4; ++i)
            QVERIFY(body[7 + i].text == head[i] && body[7 + i].font.Size == sizes[i]);
        for (const PrintOp& op : body)
            QCOMPARE(op.font.Name, QStringLiteral("宋体"));
        QVERIFY(body[7].a.y() + p.lineHeight(12) < 40);
        QVERIFY(body[8].a.y() > 110 && body[8].a.y() < body[9].a.y());

        // Paragraphs at the indent, then the reporter and the date lines,
        // right-aligned one under the other.
        QString paragraphs;
        for (int i = 11; i < body.size() - 2; ++i) {
            QVERIFY(qAbs(body[i].a.x() - (kEm10 + 8)) < 1e-6);
            paragraphs += body[i].text;
        }
        QCOMPARE(paragraphs, v.texts[0] + v.texts[1] + v.texts[3]
                                 + QStringLiteral("5、本报告仅供心理咨询师和临床医师等专业人员参考使用,不作其它证明之用。"));
        const PrintOp& reporter = body[body.size() - 2];
        const PrintOp& date = body.last();
        QCOMPARE(reporter.text, QStringLiteral("报 告 者：") + QString(19, QLatin1Char(' ')));
        QCOMPARE(date.text, QStringLiteral("报告日期:") + TodaySystemShortDate() + QString(10, QLatin1Char(' ')));
        // Right-aligned at 30 mm from the paper's right edge.
        for (const PrintOp* op : {&reporter, &date})
            QVERIFY(qAbs(op->a.x() + op->width - (182 - 60)) < 1e-3);
        QVERIFY(date.a.y() > reporter.a.y());

        verifyFigures(ops, {{PrintOp::Line, 12, 40, 123, 40, kRed, 2},
                            {PrintOp::Line, 11, 110, 123, 110, kRed, 3},
                            {PrintOp::Line, 25, 40, 25, 110, kBlue, 2},
                            {PrintOp::Line, 80, 40, 80, 110, kBlue, 2},
                            {PrintOp::Line, 54, 40, 54, 110, kBlue, 2},
                            {PrintOp::Line, 110, 40, 110, 110, kBlue, 2},
                            {PrintOp::Line, 25, chart[0], 54, chart[1], kRed, 4},
                            {PrintOp::Line, 54, chart[1], 80, chart[2], kRed, 4},
                            {PrintOp::Line, 80, chart[2], 110, chart[3], kRed, 4}});

        const QString web = build::webPage(), mail = build::mailAddress();
        QCOMPARE(texts(ops, PrintOp::Header), QStringList{QStringLiteral("Hollisk系列软件")});
        QCOMPARE(texts(ops, PrintOp::Footer),
                 (QStringList{web, QStringLiteral("B r e v a n d 出 品"), mail}));
        // The report reads what it is lent and loads no window of its own.
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("frmzol9")});
    }
};

class ReportWindowTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init()
    {
        startWindows();
        installResultReports();
    }
    void cleanup()
    {
        setResultReportOpener(nullptr);
        stopWindows();
    }

    // The print button opens the report after two renders; printing renders
    // the same page once more for the printer; a failed print and a busy
    // control are said; closing unloads the report and returns to the result.
    void openPrintAndClose_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("closeBox");  // closed by the title bar, not the toolbar
        QTest::newRow("frmzol4 -> frmzol5") << "frmzol4" << false;
        QTest::newRow("frmzol401 -> frmzol501") << "frmzol401" << true;
        QTest::newRow("frmzol21 -> frmzol25") << "frmzol21" << true;
        QTest::newRow("frmzol211 -> frmzol2501") << "frmzol211" << false;
    }
    void openPrintAndClose()
    {
        QFETCH(QString, result);
        QFETCH(bool, closeBox);
        ResultForm& r = filledResult(result, {60, 45, 55, 40});
        r.Show();
        PdfPrint print;
        QPointer<ReportForm> seen;
        whileModal([&] { click(r.Command3); }, [&] {
            auto* report = qobject_cast<ReportForm*>(modalWindow());
            QVERIFY(report);
            seen = report;
            CurtPrinter& p = *report->CurtPrinter1;
            QCOMPARE(p.documentCount(), 2);
            QVERIFY(p.isVisible());
            QCOMPARE(p.Zoom(), 100);
            const PrintDocument preview = p.previewDocument();
            QCOMPARE(preview.target, 0);

            print.pdfPath = folder->file(QStringLiteral("report.pdf"));
            p.actionPrint->trigger();
            QCOMPARE(p.documentCount(), 3);
            QCOMPARE(p.document().target, 1);
            QCOMPARE(p.document().pages, preview.pages);
            QVERIFY(QFileInfo(print.pdfPath).size() > 0);
            QCOMPARE(dialogs->count(), 0);
            // The PDF file proposed: the subject, the kind of report, the date.
            QVERIFY(print.offered.fileName.startsWith(r.Label18->text() + QStringLiteral("-人格")));
            QVERIFY(print.offered.fileName.endsWith(ShortDate(QDate::currentDate()) + ".pdf"));
            QVERIFY(print.offered.title.contains(QStringLiteral("报告")));

            print.pdfPath = folder->file(QStringLiteral("missing/report.pdf"));
            p.actionPrint->trigger();
            QCOMPARE(dialogs->count(), 1);
            QCOMPARE(dialogs->last().title, QStringLiteral("出错信息"));
            QVERIFY(report->isVisible());
            dialogs->clear();

            p.StartDoc(0);
            QVERIFY(!report->close());
            verifyOneMessage(*dialogs, QStringLiteral("打印控件忙，稍后重试。"), programTitle(),
                             vbInformation);
            QVERIFY(report->isVisible() && !p.Busy());

            if (closeBox)
                QVERIFY(report->close());
            else
                p.actionClose->trigger();
        });
        flushDeletes();
        QVERIFY(seen.isNull());
        QVERIFY(r.isVisible());
        QVERIFY(findLoaded(r.formName()));
    }
};

ZOL_TEST(ReportPageTest)
ZOL_TEST(StoredReportTest)
ZOL_TEST(ReportWindowTest)
#include "tst_reports.moc"
