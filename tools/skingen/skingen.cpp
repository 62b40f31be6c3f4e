// Draws the skin's images into <out>/skin/client/default/. Not part of the build; run by hand:
//   g++ -std=c++17 -fPIC tools/skingen/skingen.cpp $(pkg-config --cflags --libs Qt5Gui) -o /tmp/skingen
//   QT_QPA_PLATFORM=offscreen /tmp/skingen .
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

QString g_root;

void save(const QString& section, const QString& name, int w, int h,
          const std::function<void(QPainter&)>& draw) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    draw(p);
    p.end();
    QDir().mkpath(g_root + "/" + section);
    image.save(g_root + "/" + section + "/" + name, "PNG");
}

void disc(QPainter& p, const QColor& color, int size) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
}

void cross(QPainter& p, const QColor& color, int size, double inset, double width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(inset, inset), QPointF(size - inset, size - inset));
    p.drawLine(QPointF(size - inset, inset), QPointF(inset, size - inset));
}

void triangle(QPainter& p, const QColor& color, const QPolygonF& points) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(points);
}

void logo(QPainter& p, int size) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#2F6FD6"));
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.2, size * 0.2);
    // A camera lens: ring and pupil.
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(size / 2.0, size / 2.0), size * 0.32, size * 0.32);
    p.setBrush(QColor("#2F6FD6"));
    p.drawEllipse(QPointF(size / 2.0, size / 2.0), size * 0.2, size * 0.2);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(size * 0.44, size * 0.44), size * 0.06, size * 0.06);
}

// A disabled box is grey: a light one when unchecked, a mid grey with the white tick when checked.
void checkbox(QPainter& p, int size, bool checked, bool disabled = false) {
    const QColor edge =
        disabled ? QColor(checked ? "#9A9A9A" : "#C4C4C4") : QColor(checked ? "#2F6FD6" : "#999999");
    const QColor fill =
        disabled ? QColor(checked ? "#9A9A9A" : "#EEEEEE") : QColor(checked ? "#2F6FD6" : "#FFFFFF");
    p.setPen(QPen(edge, 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), 2, 2);
    if (checked) {
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPolygonF tick;
        tick << QPointF(size * 0.25, size * 0.52) << QPointF(size * 0.43, size * 0.7)
             << QPointF(size * 0.76, size * 0.3);
        p.drawPolyline(tick);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    g_root = QString(argc > 1 ? argv[1] : ".") + "/skin/client/default";

    save("MainFrame", "icon_warning.png", 40, 40, [](QPainter& p) {
        disc(p, QColor("#F5A623"), 40);
        p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 10), QPointF(20, 24));
        p.drawPoint(QPointF(20, 30.5));
    });
    save("MainFrame", "icon_notification_success.png", 40, 40, [](QPainter& p) {
        disc(p, QColor("#3BB54A"), 40);
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF tick;
        tick << QPointF(11, 21) << QPointF(17.5, 27.5) << QPointF(29, 14);
        p.drawPolyline(tick);
    });
    save("MainFrame", "icon_close_black.png", 30, 30,
         [](QPainter& p) { cross(p, QColor("#333333"), 30, 10, 1.8); });
    save("MainFrame", "aboutUs.png", 68, 68, [](QPainter& p) { logo(p, 68); });
    save("MainFrame", "button_vedio_right.png", 50, 90, [](QPainter& p) {
        p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF chevron;
        chevron << QPointF(18, 30) << QPointF(33, 45) << QPointF(18, 60);
        p.drawPolyline(chevron);
    });
    save("MainFrame", "icon_tree_more.png", 16, 16, [](QPainter& p) {
        triangle(p, QColor("#555555"), QPolygonF() << QPointF(3, 5) << QPointF(13, 5) << QPointF(8, 11));
    });
    save("MainFrame", "icon_tree_less.png", 16, 16, [](QPainter& p) {
        triangle(p, QColor("#555555"), QPolygonF() << QPointF(5, 3) << QPointF(11, 8) << QPointF(5, 13));
    });
    save("MainFrame", "title_logo.png", 22, 22, [](QPainter& p) { logo(p, 22); });
    save("MainFrame", "btn_version.png", 30, 30, [](QPainter& p) {
        p.setPen(QPen(QColor("#333333"), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(15, 15), 7, 7);
        p.drawLine(QPointF(15, 14), QPointF(15, 19));
        p.drawPoint(QPointF(15, 11));
    });
    save("MainFrame", "btn_min.png", 30, 30, [](QPainter& p) {
        p.setPen(QPen(QColor("#333333"), 1.8));
        p.drawLine(QPointF(9, 15), QPointF(21, 15));
    });
    save("MainFrame", "btn_max.png", 30, 30, [](QPainter& p) {
        p.setPen(QPen(QColor("#AAAAAA"), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(9.5, 9.5, 11, 11));
    });
    save("MainFrame", "btn_close.png", 30, 30,
         [](QPainter& p) { cross(p, QColor("#333333"), 30, 9.5, 1.8); });
    save("MainFrame", "icon_tip.png", 30, 30, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#2F6FD6"));
        p.drawEllipse(QPointF(15, 15), 8, 8);
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 14), QPointF(15, 19));
        p.drawPoint(QPointF(15, 10.5));
    });
    save("MainFrame", "combo_arrow.png", 12, 8, [](QPainter& p) {
        triangle(p, QColor("#666666"), QPolygonF() << QPointF(1, 1) << QPointF(11, 1) << QPointF(6, 7));
    });
    save("MainFrame", "checkbox.png", 16, 16, [](QPainter& p) { checkbox(p, 16, false); });
    save("MainFrame", "checkbox_checked.png", 16, 16, [](QPainter& p) { checkbox(p, 16, true); });
    save("MainFrame", "checkbox_disabled.png", 16, 16, [](QPainter& p) { checkbox(p, 16, false, true); });
    save("MainFrame", "checkbox_checked_disabled.png", 16, 16,
         [](QPainter& p) { checkbox(p, 16, true, true); });

    save("Management", "checkbox.png", 16, 16, [](QPainter& p) { checkbox(p, 16, false); });
    save("Management", "checkbox-checked.png", 16, 16, [](QPainter& p) { checkbox(p, 16, true); });
    save("Management", "tableview-row-bk.png", 8, 40, [](QPainter& p) {
        QLinearGradient g(0, 0, 0, 40);
        g.setColorAt(0, QColor("#4C6C93"));
        g.setColorAt(1, QColor("#3A5578"));
        p.fillRect(QRect(0, 0, 8, 40), g);
        p.fillRect(QRect(7, 8, 1, 24), QColor("#6F8BAE"));
    });
    save("Management", "indicator-up.png", 9, 5, [](QPainter& p) {
        triangle(p, Qt::white, QPolygonF() << QPointF(0, 5) << QPointF(9, 5) << QPointF(4.5, 0));
    });
    save("Management", "indicator-down.png", 9, 5, [](QPainter& p) {
        triangle(p, Qt::white, QPolygonF() << QPointF(0, 0) << QPointF(9, 0) << QPointF(4.5, 5));
    });

    save("Tarsel", "logo.png", 64, 64, [](QPainter& p) { logo(p, 64); });
    return 0;
}
