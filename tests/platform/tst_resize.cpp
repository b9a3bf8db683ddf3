#include "testsupport.h"

#include "platform/movingtext.h"
#include "platform/resizer.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace zol;

class ResizeTest : public QObject {
    Q_OBJECT
private slots:
    void scalesControlsAndFrameContents()
    {
        QWidget area;
        area.resize(400, 300);
        auto* button = new QPushButton(QStringLiteral("开始"), &area);
        button->setGeometry(10, 20, 73, 25);
        auto* frame = new QGroupBox(QStringLiteral("控制中心"), &area);
        frame->setGeometry(200, 10, 150, 200);
        auto* inner = new QPushButton(frame);
        inner->setGeometry(15, 30, 41, 27);
        auto* box = new QLineEdit(frame);
        box->setGeometry(15, 100, 100, 20);
        ReSize resize(&area);
        area.show();

        area.resize(800, 450);
        QCOMPARE(button->geometry(), QRect(20, 30, 146, 38));
        QCOMPARE(frame->geometry(), QRect(400, 15, 300, 300));
        QCOMPARE(inner->geometry(), QRect(30, 45, 82, 41));
        QCOMPARE(box->geometry(), QRect(30, 150, 200, 30));

        // Shrinking: edges are scaled, so neighbours still touch.
        area.resize(200, 150);
        QCOMPARE(button->geometry(), QRect(5, 10, 37, 13));  // left 5, right round(41.5) = 42
        QCOMPARE(frame->geometry().right() + 1, 175);

        // Back at design size every control is where it was designed,
        // whatever sizes came between.
        area.resize(333, 217);
        area.resize(400, 300);
        QCOMPARE(button->geometry(), QRect(10, 20, 73, 25));
        QCOMPARE(inner->geometry(), QRect(15, 30, 41, 27));
        QCOMPARE(box->geometry(), QRect(15, 100, 100, 20));
    }

    void controlRemovedBeforeResizeIsSkipped()
    {
        QWidget area;
        area.resize(100, 100);
        auto* gone = new QPushButton(&area);
        gone->setGeometry(0, 0, 10, 10);
        auto* kept = new QPushButton(&area);
        kept->setGeometry(10, 10, 10, 10);
        ReSize resize(&area);
        area.show();
        delete gone;
        area.resize(200, 200);
        QCOMPARE(kept->geometry(), QRect(20, 20, 20, 20));
    }
};

class MovingTextTest : public QObject {
    Q_OBJECT
private slots:
    void entersOnTheRightAndComesBackAfterLeaving()
    {
        MovingText band;
        band.resize(200, 40);
        band.setText(QStringLiteral("Pemdrow心理咨询培训"));
        band.setStep(3);
        QCOMPARE(band.textX(), 200);
        band.advance();
        QCOMPARE(band.textX(), 197);
        const int width = band.textWidth();
        QVERIFY(width > 0);
        // The step that takes its last pixel out on the left brings it back
        // to the right edge.
        int steps = 1;
        while (band.textX() != 200 && steps < 10000) {
            QVERIFY(band.textX() + width > 0);
            band.advance();
            ++steps;
        }
        QCOMPARE(steps, (200 + width + 2) / 3);
        // A new text starts again from the right edge.
        band.advance();
        band.setText(QStringLiteral("x"));
        QCOMPARE(band.textX(), 200);
    }

    void movesOnlyWhileShown()
    {
        MovingText band;
        band.resize(200, 40);
        band.setText(QStringLiteral("Pemdrow"));
        band.setInterval(5);
        QTest::qWait(30);
        QCOMPARE(band.textX(), 200);
        band.show();
        QTRY_VERIFY(band.textX() < 200);
        band.hide();
        const int x = band.textX();
        QTest::qWait(30);
        QCOMPARE(band.textX(), x);
    }

    // The band moves pixels it drew before; what is on screen after the steps
    // is what a fresh drawing shows, also once the text came round again.
    void stepsShowWhatADrawingShows_data()
    {
        QTest::addColumn<int>("steps");
        QTest::newRow("one step") << 1;
        QTest::newRow("many steps") << 37;
        QTest::newRow("round again") << 160;
    }

    void stepsShowWhatADrawingShows()
    {
        QFETCH(int, steps);
        QWidget window;
        window.resize(200, 40);
        QPalette cyan = window.palette();
        cyan.setColor(QPalette::Window, QColor(192, 255, 255));
        window.setPalette(cyan);
        window.setStyleSheet(QStringLiteral("QGroupBox { margin-top: 7px; }"));
        MovingText band(&window);
        band.resize(200, 40);
        band.setText(QStringLiteral("Pemdrow心理咨询培训"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < steps; ++i) {
            band.advance();
            QCoreApplication::processEvents();
        }
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        QCOMPARE(shown.pixelColor(0, 0), QColor(192, 255, 255));  // what lies under the band
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 band.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
};

ZOL_TEST(ResizeTest)
ZOL_TEST(MovingTextTest)
#include "tst_resize.moc"
