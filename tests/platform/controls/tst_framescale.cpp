#include "controls/designfont.h"
#include "controls/labelcontrol.h"
#include "controls/richtextfield.h"

#include <QApplication>
#include <QtMath>
#include <QImage>
#include <QPlainTextEdit>
#include <QTest>

// Framed controls on a screen scaled by one and a half, as the host runs on a laptop set to
// 150%: every side of the frame is on screen, not only the bottom and right ones.
class tst_FrameScale : public QObject
{
    Q_OBJECT

private slots:
    void everySideOfTheFrameIsDrawn_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QPoint>("at");
        // At 1.5 a control placed at an odd position starts half way into a screen pixel.
        for (const QPoint at : {QPoint(10, 10), QPoint(11, 11), QPoint(11, 10)}) {
            QTest::addRow("multi-line text field at %d,%d", at.x(), at.y()) << QStringLiteral("text") << at;
            QTest::addRow("description read-out at %d,%d", at.x(), at.y()) << QStringLiteral("readout") << at;
        }
    }

    void everySideOfTheFrameIsDrawn()
    {
        QFETCH(QString, kind);
        QFETCH(QPoint, at);
        QCOMPARE(qApp->devicePixelRatio(), 1.5);
        QWidget window;
        window.setFont(DesignFont::font());
        QWidget *framed = nullptr;
        if (kind == QLatin1String("text")) {
            auto *field = new RichTextField(&window);
            field->setText(QStringLiteral("Incasso RiBa n. [NUMDOC]"));
            field->setGeometry(QRect(at, QSize(240, 70)));
            framed = field->editor();
        } else {
            auto *label = new LabelControl(&window);
            label->setBorder(true);
            label->setText(QStringLiteral("Banca Intesa c/c 1234"));
            label->setGeometry(QRect(at, QSize(240, 24)));
            framed = label;
        }
        window.resize(300, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // The window as the screen shows it, in screen pixels.
        const QImage image = window.grab().toImage();
        QCOMPARE(image.devicePixelRatio(), 1.5);
        const QRectF logical(framed->mapTo(&window, QPoint()), framed->size());
        const QRect screen(QPoint(qFloor(logical.left() * 1.5), qFloor(logical.top() * 1.5)),
                           QPoint(qCeil(logical.right() * 1.5) - 1, qCeil(logical.bottom() * 1.5) - 1));
        const QPoint middle = screen.center();
        // The darkest screen pixel across a side, where its line must be.
        const auto side = [&](QPoint from, QPoint step) {
            int darkest = 255;
            for (int i = -1; i <= 1; ++i) {
                const QPoint p = from + step * i;
                if (image.rect().contains(p))
                    darkest = qMin(darkest, qGray(image.pixel(p)));
            }
            return darkest;
        };
        const int around = qGray(image.pixel(2, 2));
        const QList<QPair<const char *, int>> sides = {
            {"top", side(QPoint(middle.x(), screen.top()), QPoint(0, 1))},
            {"left", side(QPoint(screen.left(), middle.y()), QPoint(1, 0))},
            {"bottom", side(QPoint(middle.x(), screen.bottom()), QPoint(0, 1))},
            {"right", side(QPoint(screen.right(), middle.y()), QPoint(1, 0))}};
        for (const auto &[name, shade] : sides)
            QVERIFY2(shade < around - 20, name);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    tst_FrameScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_framescale.moc"
