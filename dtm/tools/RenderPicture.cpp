// Renders a drawing into a picture file of the given size on a transparent background:
//
//   ov_dtm_render <drawing.svg> <picture.png> <width> <height>
//
// The DTM's device picture and logos are made this way from the drawings under pictures/.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 5) {
        std::fprintf(stderr, "usage: ov_dtm_render <drawing.svg> <picture.png> <width> <height>\n");
        return 2;
    }
    bool widthRead = false;
    bool heightRead = false;
    const int width = arguments[3].toInt(&widthRead);
    const int height = arguments[4].toInt(&heightRead);
    QSvgRenderer drawing(arguments[1]);
    if (!drawing.isValid() || !widthRead || !heightRead || width <= 0 || height <= 0) {
        std::fprintf(stderr, "cannot render %s at %s x %s\n", qPrintable(arguments[1]),
                     qPrintable(arguments[3]), qPrintable(arguments[4]));
        return 1;
    }
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    painter.end();
    if (!picture.save(arguments[2], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[2]));
        return 1;
    }
    return 0;
}
