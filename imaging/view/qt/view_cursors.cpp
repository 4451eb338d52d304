#include "imaging/view/qt/view_cursors.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <cmath>
#include <functional>
#include <map>

namespace quillet {

namespace {

enum class TShape { Cross, CrossPlus, CrossMinus, Cross2, Cross2Plus, Cross2Minus, LensPlus, LensMinus,
                    Hand, Pen, Eraser, Move, MoveX, MoveY, MoveDiag1, MoveDiag2 };

struct TCursorInfo {
  const char* Name;
  TShape Shape;
};

const std::map<int, TCursorInfo>& Table() {
  static const std::map<int, TCursorInfo> table = {
      {1778, {"ZOOMMENO", TShape::LensMinus}}, {1779, {"ZOOMPIU", TShape::LensPlus}},
      {1780, {"CROCE", TShape::Cross}},        {1781, {"GOMMA", TShape::Eraser}},
      {1782, {"MANO", TShape::Hand}},          {1783, {"PENNA", TShape::Pen}},
      {1784, {"CROCE1", TShape::Cross2}},      {1785, {"CROCE3", TShape::Cross}},
      {1786, {"MOVE2", TShape::MoveDiag2}},    {1787, {"MOVEY", TShape::MoveY}},
      {1788, {"MOVE1", TShape::MoveDiag1}},    {1789, {"MOVEX", TShape::MoveX}},
      {1790, {"MOVE", TShape::Move}},          {1791, {"CROCE3+", TShape::CrossPlus}},
      {1792, {"CROCE3-", TShape::CrossMinus}}, {1793, {"CROCE2", TShape::Cross2}},
      {1794, {"CROCE2+", TShape::Cross2Plus}}, {1795, {"CROCE2-", TShape::Cross2Minus}},
  };
  return table;
}

// Black lines with a white halo, so the cursor shows on any image.
void Stroke(QPainter& p, const std::function<void(QPainter&)>& draw) {
  p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
  draw(p);
  p.setPen(QPen(Qt::black, 1));
  draw(p);
}

void Sign(QPainter& p, bool plus) {
  Stroke(p, [&](QPainter& q) {
    q.drawLine(22, 26, 28, 26);
    if (plus) q.drawLine(25, 23, 25, 29);
  });
}

void Arrow(QPainter& p, QPoint from, QPoint to) {
  Stroke(p, [&](QPainter& q) {
    q.drawLine(from, to);
    for (const QPoint& end : {from, to}) {
      const QPoint other = end == from ? to : from;
      const QPointF d = QPointF(other - end) / std::hypot(other.x() - end.x(), other.y() - end.y());
      const QPointF side(-d.y(), d.x());
      q.drawLine(QPointF(end), QPointF(end) + 4 * d + 3 * side);
      q.drawLine(QPointF(end), QPointF(end) + 4 * d - 3 * side);
    }
  });
}

QCursor Make(TShape shape) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  QPoint hot(15, 15);
  switch (shape) {
    case TShape::Cross:
    case TShape::CrossPlus:
    case TShape::CrossMinus:
      Stroke(p, [](QPainter& q) {
        q.drawLine(15, 3, 15, 12), q.drawLine(15, 18, 15, 27), q.drawLine(3, 15, 12, 15), q.drawLine(18, 15, 27, 15);
      });
      if (shape != TShape::Cross) Sign(p, shape == TShape::CrossPlus);
      break;
    case TShape::Cross2:
    case TShape::Cross2Plus:
    case TShape::Cross2Minus:
      Stroke(p, [](QPainter& q) { q.drawLine(15, 2, 15, 28), q.drawLine(2, 15, 28, 15); });
      if (shape != TShape::Cross2) Sign(p, shape == TShape::Cross2Plus);
      break;
    case TShape::LensPlus:
    case TShape::LensMinus:
      hot = QPoint(11, 11);
      Stroke(p, [](QPainter& q) { q.drawEllipse(4, 4, 14, 14), q.drawLine(17, 17, 27, 27); });
      Stroke(p, [&](QPainter& q) {
        q.drawLine(8, 11, 14, 11);
        if (shape == TShape::LensPlus) q.drawLine(11, 8, 11, 14);
      });
      break;
    case TShape::Hand:
      Stroke(p, [](QPainter& q) {
        q.drawRoundedRect(8, 12, 14, 14, 4, 4);
        for (int x : {9, 13, 17, 21}) q.drawLine(x, 12, x, 5);
      });
      break;
    case TShape::Pen:
      hot = QPoint(3, 28);
      Stroke(p, [](QPainter& q) { q.drawPolygon(QPolygon({QPoint(3, 28), QPoint(6, 21), QPoint(24, 3), QPoint(28, 7), QPoint(10, 25)})); });
      break;
    case TShape::Eraser:
      Stroke(p, [](QPainter& q) { q.drawPolygon(QPolygon({QPoint(4, 22), QPoint(16, 8), QPoint(26, 16), QPoint(14, 28)})); });
      break;
    case TShape::Move:
      Arrow(p, {15, 3}, {15, 27});
      Arrow(p, {3, 15}, {27, 15});
      break;
    case TShape::MoveX: Arrow(p, {4, 15}, {26, 15}); break;
    case TShape::MoveY: Arrow(p, {15, 4}, {15, 26}); break;
    case TShape::MoveDiag1: Arrow(p, {6, 24}, {24, 6}); break;
    case TShape::MoveDiag2: Arrow(p, {6, 6}, {24, 24}); break;
  }
  return QCursor(pixmap, hot.x(), hot.y());
}

}  // namespace

QCursor ViewCursor(int id) {
  static std::map<int, QCursor> made;
  const auto info = Table().find(id);
  if (info == Table().end()) return QCursor(Qt::ArrowCursor);
  auto it = made.find(id);
  if (it == made.end()) it = made.emplace(id, Make(info->second.Shape)).first;
  return it->second;
}

const char* ViewCursorName(int id) {
  const auto info = Table().find(id);
  return info == Table().end() ? "" : info->second.Name;
}

}  // namespace quillet
