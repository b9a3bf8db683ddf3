#include "shell/artwork.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>

namespace zol {

namespace {

QFont pixelFont(const QString& face, int pixels, bool bold = false)
{
    QFont f(face);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void centredText(QPainter& p, const QRect& r, const QString& text, const QColor& color)
{
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

} // namespace

QPixmap splashPicture(const QRectF& band)
{
    QPixmap pm(splashPictureSize());
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(12, 60, 110));
    sky.setColorAt(0.55, QColor(24, 120, 150));
    sky.setColorAt(1, QColor(160, 225, 225));
    p.fillRect(pm.rect(), sky);

    // Soft rings behind the title.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(255, 255, 255, 18 + 6 * i));
        p.drawEllipse(QPoint(330, 40), 120 - 25 * i, 120 - 25 * i);
    }

    p.setFont(pixelFont(QStringLiteral("宋体"), 12));
    centredText(p, QRect(0, 10, 384, 18), QStringLiteral("Hollisk 系列软件"),
                QColor(200, 235, 255));
    p.setFont(pixelFont(QStringLiteral("宋体"), 30, true));
    centredText(p, QRect(2, 38, 384, 40), QStringLiteral("Vormel人格问卷"), QColor(0, 30, 60));
    centredText(p, QRect(0, 36, 384, 40), QStringLiteral("Vormel人格问卷"), Qt::white);
    p.setFont(pixelFont(QStringLiteral("宋体"), 17));
    centredText(p, QRect(0, 76, 384, 24), QStringLiteral("成人版  VER 4.0"), QColor(255, 220, 120));

    // A light rim around the progress band.
    p.setPen(QColor(255, 255, 255, 140));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(band.adjusted(-4, -4, 4, 4), 4, 4);

    p.setFont(pixelFont(QStringLiteral("宋体"), 12));
    centredText(p, QRect(0, int(band.bottom()) + 6, 384, 18), QStringLiteral("正在启动，请稍候……"),
                QColor(235, 250, 255));

    // The four scales.
    const struct {
        const char* letter;
        QColor color;
    } scales[] = {{"P", QColor(220, 70, 70)},
                  {"E", QColor(240, 160, 40)},
                  {"N", QColor(60, 160, 90)},
                  {"L", QColor(70, 110, 200)}};
    p.setFont(pixelFont(QStringLiteral("Noto Sans CJK SC"), 18, true));
    for (int i = 0; i < 4; ++i) {
        const QPointF c(102 + i * 60, 176);
        QRadialGradient g(c - QPointF(6, 6), 24);
        g.setColorAt(0, scales[i].color.lighter(150));
        g.setColorAt(1, scales[i].color);
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(g);
        p.drawEllipse(c, 20, 20);
        centredText(p, QRect(int(c.x()) - 20, int(c.y()) - 20, 40, 40),
                    QString::fromLatin1(scales[i].letter), Qt::white);
    }

    p.setFont(pixelFont(QStringLiteral("Noto Sans CJK SC"), 12, true));
    p.setPen(QColor(10, 70, 90));
    p.drawText(QRect(0, 204, 366, 18), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Brevand"));
    return pm;
}

QPixmap webPicture()
{
    QPixmap pm(260, 133);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient bg(0, 0, 260, 133);
    bg.setColorAt(0, QColor(255, 246, 220));
    bg.setColorAt(1, QColor(255, 200, 140));
    p.fillRect(pm.rect(), bg);
    p.setPen(QPen(QColor(200, 110, 30), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, 258, 131));

    // A globe.
    const QPointF c(58, 66);
    QRadialGradient sea(c - QPointF(12, 12), 46);
    sea.setColorAt(0, QColor(120, 200, 255));
    sea.setColorAt(1, QColor(20, 90, 170));
    p.setPen(QPen(QColor(20, 60, 120), 1.5));
    p.setBrush(sea);
    p.drawEllipse(c, 40, 40);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 18, 40);
    p.drawLine(QPointF(c.x(), c.y() - 40), QPointF(c.x(), c.y() + 40));
    p.drawLine(QPointF(c.x() - 40, c.y()), QPointF(c.x() + 40, c.y()));
    p.drawLine(QPointF(c.x() - 35, c.y() - 20), QPointF(c.x() + 35, c.y() - 20));
    p.drawLine(QPointF(c.x() - 35, c.y() + 20), QPointF(c.x() + 35, c.y() + 20));

    p.setFont(pixelFont(QStringLiteral("Noto Sans CJK SC"), 24, true));
    p.setPen(QColor(170, 60, 0));
    p.drawText(QRect(108, 14, 150, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Brevand"));
    p.setFont(pixelFont(QStringLiteral("楷体_GB2312"), 17));
    p.setPen(QColor(60, 40, 20));
    p.drawText(QRect(108, 50, 150, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("心理测验与咨询"));
    p.drawText(QRect(108, 74, 150, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("培训在线"));
    p.setFont(pixelFont(QStringLiteral("Noto Sans CJK SC"), 11));
    p.setPen(QColor(0, 70, 160));
    p.drawText(QRect(108, 104, 150, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("www.example.com"));
    return pm;
}

namespace {

enum class Glyph { Text, Play, Pause, Cross };

struct MenuImage {
    QColor color;
    Glyph glyph;
    const char* text;  // UTF-8, for Glyph::Text
};

QPixmap drawMenuImage(const MenuImage& m)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(m.color.darker(140));
    p.setBrush(m.color);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    switch (m.glyph) {
    case Glyph::Play: {
        const QPointF tri[] = {{5, 3.5}, {12.5, 8}, {5, 12.5}};
        p.drawPolygon(tri, 3);
        break;
    }
    case Glyph::Pause:
        p.drawRect(QRectF(4.5, 4, 2.5, 8));
        p.drawRect(QRectF(9, 4, 2.5, 8));
        break;
    case Glyph::Cross:
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
        p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
        break;
    case Glyph::Text:
        p.setPen(Qt::white);
        p.setFont(pixelFont(QStringLiteral("Noto Sans CJK SC"), 11, true));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromUtf8(m.text));
        break;
    }
    return pm;
}

// Draws its image when a menu first shows it: the text glyphs need a font,
// which start-up would otherwise have to load before the splash appears.
class MenuImageEngine : public QIconEngine {
public:
    explicit MenuImageEngine(const MenuImage& m) : image_(m) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->drawPixmap(rect, drawn(mode));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        return drawn(mode).scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QIconEngine* clone() const override { return new MenuImageEngine(*this); }

private:
    // A disabled entry's picture is greyed the way the style greys any other.
    const QPixmap& drawn(QIcon::Mode mode)
    {
        if (pixmap_.isNull())
            pixmap_ = drawMenuImage(image_);
        if (mode != QIcon::Disabled)
            return pixmap_;
        if (disabled_.isNull()) {
            QStyleOption option;
            disabled_ = QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap_, &option);
        }
        return disabled_;
    }
    MenuImage image_;
    QPixmap pixmap_, disabled_;
};

QList<QIcon> iconsOf(const QList<MenuImage>& images)
{
    QList<QIcon> list;
    for (const MenuImage& m : images)
        list << QIcon(new MenuImageEngine(m));
    return list;
}

} // namespace

QList<QIcon> menuImages()
{
    const QColor file(40, 110, 190), data(30, 140, 110), stats(150, 80, 180), fun(220, 110, 40),
        help(200, 60, 80);
    return iconsOf({
        {file, Glyph::Text, "测"},  {file, Glyph::Text, "批"},  {file, Glyph::Text, "备"},
        {file, Glyph::Text, "恢"},  {file, Glyph::Cross, ""},    {data, Glyph::Text, "查"},
        {data, Glyph::Text, "编"},  {data, Glyph::Text, "印"},  {stats, Glyph::Text, "总"},
        {stats, Glyph::Text, "男"}, {stats, Glyph::Text, "女"}, {fun, Glyph::Text, "乐"},
        {fun, Glyph::Play, ""},      {fun, Glyph::Pause, ""},     {fun, Glyph::Text, "曲"},
        {fun, Glyph::Play, ""},      {fun, Glyph::Text, "影"},  {help, Glyph::Text, "?"},
        {help, Glyph::Text, "问"},  {help, Glyph::Text, "主"},  {help, Glyph::Text, "邮"},
        {help, Glyph::Text, "i"},
    });
}

QList<QIcon> videoMenuImages()
{
    const QColor file(40, 110, 190), setup(30, 140, 110), tv(220, 110, 40), help(200, 60, 80);
    QList<MenuImage> images = {
        {file, Glyph::Text, "开"},  {file, Glyph::Text, "址"},  {file, Glyph::Cross, ""},
        {setup, Glyph::Text, "画"}, {setup, Glyph::Text, "小"}, {setup, Glyph::Text, "默"},
        {setup, Glyph::Text, "大"}, {setup, Glyph::Text, "声"}, {setup, Glyph::Text, "+"},
        {setup, Glyph::Text, "-"},
    };
    for (int i = 0; i < 20; ++i)
        images << MenuImage{tv, Glyph::Play, ""};
    images << MenuImage{help, Glyph::Text, "?"};
    return iconsOf(images);
}

QPixmap aboutIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(12, 10), 22);
    g.setColorAt(0, QColor(120, 200, 255));
    g.setColorAt(1, QColor(20, 80, 170));
    p.setPen(QPen(QColor(10, 40, 100), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    // The four scales as quarters of a ring.
    const QColor scales[] = {QColor(220, 70, 70), QColor(240, 160, 40), QColor(60, 160, 90),
                             QColor(250, 250, 250)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(scales[i], 3, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(7, 7, 18, 18), (90 - 90 * i) * 16 + 8 * 16, 74 * 16);
    }
    return pm;
}

namespace {
void attachTo(QMenu* menu, bool show, const QList<QIcon>& images, int& next)
{
    const QList<QAction*> actions = menu->actions();
    for (QAction* a : actions) {
        if (a->isSeparator())
            continue;
        if (!show)
            a->setIcon(QIcon());
        else if (next < images.size())
            a->setIcon(images.at(next++));
        if (a->menu())
            attachTo(a->menu(), show, images, next);
    }
}
} // namespace

void attachMenuImages(QMenuBar* bar, bool show, const QList<QIcon>& images)
{
    int next = 0;
    const QList<QAction*> menus = bar->actions();
    for (QAction* top : menus)
        if (top->menu())
            attachTo(top->menu(), show, images, next);
}

} // namespace zol
