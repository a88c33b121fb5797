#include "ui/views/folder_images.h"

#include <QPainter>
#include <QPolygonF>

namespace kantoria {
namespace {

const QColor kOutline(128, 96, 0);
const QColor kFolderBack(230, 180, 40);
const QColor kFolderFront(255, 216, 88);
const QColor kMetal(160, 160, 168);
const QColor kDark(64, 64, 72);

void DrawClosedFolder(QPainter& p, const QColor& back, const QColor& front) {
    p.setPen(kOutline);
    p.setBrush(back);
    p.drawPolygon(
        QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {7.5, 4.5}, {14.5, 4.5}, {14.5, 6.5}, {1.5, 6.5}}));
    p.setBrush(front);
    p.drawRect(QRectF(1.5, 5.5, 13, 8));
}

void DrawOpenFolder(QPainter& p, const QColor& back, const QColor& front) {
    p.setPen(kOutline);
    p.setBrush(back);
    p.drawPolygon(
        QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {7.5, 4.5}, {13.5, 4.5}, {13.5, 7.5}, {1.5, 13.5}}));
    p.setBrush(front);
    p.drawPolygon(QPolygonF({{1.5, 13.5}, {4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}}));
}

void DrawDrive(QPainter& p, const QColor& light) {
    p.setPen(kDark);
    p.setBrush(kMetal);
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRect(QRectF(11, 10, 2, 1));
}

void DrawFloppy(QPainter& p) {
    DrawDrive(p, QColor(0, 160, 0));
    p.setPen(kDark);
    p.drawLine(QPointF(3, 9.5), QPointF(9, 9.5));
}

void DrawCd(QPainter& p) {
    DrawDrive(p, QColor(0, 160, 0));
    p.setPen(QColor(40, 80, 200));
    p.setBrush(QColor(200, 220, 255));
    p.drawEllipse(QRectF(4.5, 1.5, 7, 7));
}

void DrawGlass(QPainter& p) {
    p.setPen(QPen(kDark, 1.5));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(2.5, 2.5, 8, 8));
    p.setPen(QPen(kDark, 2.5));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
}

void DrawNetwork(QPainter& p) {
    DrawDrive(p, QColor(0, 160, 0));
    p.setPen(kDark);
    p.drawLine(QPointF(8, 12.5), QPointF(8, 15.5));
    p.drawLine(QPointF(3, 15.5), QPointF(13, 15.5));
}

}  // namespace

QPixmap CreateFolderBitmap() {
    QPixmap strip(kFolderCellSize * kFolderCellCount, kFolderCellSize + 1);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    auto cell = [&](int index, auto draw) {
        p.save();
        p.translate(index * kFolderCellSize, 0);
        draw();
        p.restore();
    };
    cell(0, [&] { DrawOpenFolder(p, kFolderBack, kFolderFront); });
    cell(1, [&] { DrawOpenFolder(p, QColor(176, 176, 176), QColor(208, 208, 208)); });
    cell(2, [&] { DrawClosedFolder(p, kFolderBack, kFolderFront); });
    cell(3, [&] { DrawFloppy(p); });
    cell(4, [&] { DrawDrive(p, QColor(0, 160, 0)); });
    cell(5, [&] { DrawCd(p); });
    cell(6, [&] { DrawGlass(p); });
    cell(7, [&] { DrawNetwork(p); });
    return strip;
}

QPixmap FolderBitmapCell(const QPixmap& strip, int cell) {
    return strip.copy(cell * kFolderCellSize, 0, kFolderCellSize, kFolderCellSize);
}

QIcon HolderIcon() {
    const QPixmap strip = CreateFolderBitmap();
    QIcon icon;
    icon.addPixmap(FolderBitmapCell(strip, kFolderClosedCell), QIcon::Normal);
    icon.addPixmap(FolderBitmapCell(strip, kFolderOpenCell), QIcon::Selected);
    return icon;
}

}  // namespace kantoria
