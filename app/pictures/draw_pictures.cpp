// Draws the program's pictures. The PNG and ICO files of this folder are kept with the
// sources and compiled into the program as resources; after changing a drawing, build the
// target draw_pictures and run it again:
//   QT_QPA_PLATFORM=offscreen build/app/draw_pictures app/pictures
// The build itself runs it as `draw_pictures --icons FOLDER` for the application icon at
// the sizes a desktop's icon theme looks for, which are installed with the program.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cstdio>

namespace {

const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);
const QColor kPaper(255, 255, 240);

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// The application icon: an answer sheet with three ticked option boxes per row and a
// profile of bars over it.
QImage sheetIcon(int size)
{
    QImage image = blank(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(kNavy, 2));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(9, 3, 46, 58), 4, 4);
    p.setPen(QPen(kNavy, 1.5));
    p.setBrush(Qt::NoBrush);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRectF box(16 + column * 12, 9 + row * 8, 6, 6);
            p.drawRect(box);
            if ((row + column * 2) % 3 == 0)
                p.fillRect(box.adjusted(1.5, 1.5, -1.5, -1.5), kMaroon);
        }
    }
    const std::array<int, 5> heights = {10, 16, 7, 13, 18};
    for (int i = 0; i < int(heights.size()); ++i) {
        const QRectF bar(15 + i * 7.5, 57 - heights[i], 6, heights[i]);
        QLinearGradient gradient(bar.topLeft(), bar.bottomLeft());
        gradient.setColorAt(0, Qt::red);
        gradient.setColorAt(1, kMaroon);
        p.fillRect(bar, gradient);
    }
    return image;
}

QImage withSixteenColours(const QImage &image)
{
    const QList<QRgb> colours = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(QColor(192, 192, 192));
    QPainter(&opaque).drawImage(0, 0, image);
    return opaque.convertToFormat(QImage::Format_Indexed8, colours, Qt::ThresholdDither);
}

// The about box's tall picture: a sten profile standing on a scale from 1 to 10.
QImage profilePicture()
{
    QImage image(45, 140, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 140);
    sky.setColorAt(0, QColor(200, 215, 245));
    sky.setColorAt(1, QColor(250, 250, 255));
    p.fillRect(image.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    const std::array<int, 16> stens = {6, 4, 7, 5, 8, 6, 3, 7, 5, 9, 4, 6, 7, 5, 8, 6};
    for (int i = 0; i < int(stens.size()); ++i) {
        const QRectF bar(4, 6 + i * 8, stens[i] * 3.6, 6);
        QLinearGradient gradient(bar.topLeft(), bar.topRight());
        gradient.setColorAt(0, kMaroon);
        gradient.setColorAt(1, Qt::red);
        p.fillRect(bar, gradient);
    }
    p.setPen(QPen(kNavy, 1));
    p.drawLine(QPointF(3.5, 3), QPointF(3.5, 137));
    return image;
}

// The undo arrow: a curve bending back to the left, ending in a head.
QImage undoArrow(const QColor &colour)
{
    QImage image = blank(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath curve;
    curve.moveTo(5, 6);
    curve.cubicTo(11, 6, 14, 8, 13, 11.5);
    curve.cubicTo(12.5, 13.5, 10.5, 14, 8.5, 14);
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve);
    QPainterPath head;
    head.moveTo(1, 6);
    head.lineTo(6.5, 1.5);
    head.lineTo(6.5, 10.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
    return image;
}

bool save(const QImage &image, const QString &folder, const char *name)
{
    const QString path = folder + u'/' + QLatin1String(name);
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// FOLDER/NxN/apps/zorventest.png, as the hicolor theme lays its icons out.
bool saveThemeIcons(const QString &folder)
{
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(sizeFolder) || !save(sheetIcon(size), sizeFolder, "zorventest.png"))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--icons") == 0)
        return saveThemeIcons(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool saved = save(sheetIcon(64), folder, "zorventest.png")
        && save(sheetIcon(48), folder, "zorventest.ico")
        && save(withSixteenColours(sheetIcon(32)), folder, "about_icon.png")
        && save(profilePicture(), folder, "profile.png")
        && save(undoArrow(QColor(0, 90, 0)), folder, "undo.png")
        && save(undoArrow(QColor(150, 150, 150)), folder, "undo_disabled.png");
    return saved ? 0 : 1;
}
