#include "grid/GridToolBar.h"

#include <QCoreApplication>
#include <QHash>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int BitmapSize = 15;
int buttonCounter = 0;
GridToolBar* theToolBar = nullptr;

std::array<GridToolBar::ToolHandler, GridToolCount>& handlers() {
    static std::array<GridToolBar::ToolHandler, GridToolCount> list;
    return list;
}

GridToolBar::ZoomHandler& zoom() {
    static GridToolBar::ZoomHandler handler;
    return handler;
}

void drawMagnifier(QPainter& p) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 8, 8));
    p.setPen(QPen(Qt::black, 2.5));
    p.drawLine(QPointF(8.5, 8.5), QPointF(13.5, 13.5));
}

void drawPage(QPainter& p, QRectF r) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    for (qreal y = r.top() + 2.5; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void drawPrinter(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 0.5, 8, 6));
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(QRectF(0.5, 6.5, 14, 5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 10.5, 8, 4));
}

void drawBars(QPainter& p) {
    p.setPen(Qt::black);
    p.setBrush(QColor(40, 90, 200));
    p.drawRect(QRectF(1.5, 7.5, 3, 6));
    p.setBrush(QColor(200, 50, 50));
    p.drawRect(QRectF(5.5, 2.5, 3, 11));
    p.setBrush(QColor(40, 160, 60));
    p.drawRect(QRectF(9.5, 5.5, 3, 8));
    p.drawLine(QPointF(0.5, 14), QPointF(14.5, 14));
}

void drawLetter(QPainter& p, const QString& text) {
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, BitmapSize, BitmapSize), Qt::AlignCenter, text);
}

QPixmap drawBitmap(ToolBitmap bitmap) {
    QPixmap pixmap(BitmapSize, BitmapSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (bitmap) {
    case ToolBitmap::MSB_ZOOM:
        drawMagnifier(p);
        break;
    case ToolBitmap::MSB_LOCATE:
        drawMagnifier(p);
        p.setPen(QPen(Qt::darkRed, 1.2));
        p.drawText(QRectF(1.5, 0.5, 8, 10), Qt::AlignCenter, QStringLiteral("?"));
        break;
    case ToolBitmap::MSB_VIEW:
        p.setPen(Qt::black);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(i == 1 ? QColor(255, 230, 120) : QColor(Qt::white));
            p.drawRect(QRectF(0.5 + i * 5, 1.5, 4, 12));
        }
        break;
    case ToolBitmap::MSB_PRINT:
    case ToolBitmap::MSB_PRINT1:
        drawPrinter(p);
        break;
    case ToolBitmap::MSB_PRINTGROUP:
    case ToolBitmap::MSB_SUM:
        drawLetter(p, QStringLiteral("\u03A3"));
        break;
    case ToolBitmap::MSB_REFRESH: {
        p.setPen(QPen(QColor(20, 120, 40), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 10, 10), 60 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(9, 0.5);
        head.lineTo(13.5, 3.5);
        head.lineTo(9, 6);
        head.closeSubpath();
        p.setBrush(QColor(20, 120, 40));
        p.setPen(Qt::NoPen);
        p.drawPath(head);
        break;
    }
    case ToolBitmap::MSB_SORT: {
        QFont f = p.font();
        f.setPixelSize(7);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRectF(0, 0, 8, 7), Qt::AlignCenter, QStringLiteral("A"));
        p.drawText(QRectF(0, 8, 8, 7), Qt::AlignCenter, QStringLiteral("Z"));
        p.setPen(QPen(Qt::blue, 1.5));
        p.drawLine(QPointF(11.5, 1), QPointF(11.5, 13));
        p.drawLine(QPointF(9, 10.5), QPointF(11.5, 13.5));
        p.drawLine(QPointF(14, 10.5), QPointF(11.5, 13.5));
        break;
    }
    case ToolBitmap::MSB_TITLEWORDWRAP:
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(1, 3.5), QPointF(12, 3.5));
        p.drawArc(QRectF(8, 3.5, 5, 5), -90 * 16, 180 * 16);
        p.drawLine(QPointF(10.5, 8.5), QPointF(6, 8.5));
        p.drawLine(QPointF(6, 8.5), QPointF(8, 6.5));
        p.drawLine(QPointF(6, 8.5), QPointF(8, 10.5));
        p.drawLine(QPointF(1, 12.5), QPointF(9, 12.5));
        break;
    case ToolBitmap::MSB_BAR:
    case ToolBitmap::MSB_BARSTACKED:
    case ToolBitmap::MSB_BARSTACKED100:
    case ToolBitmap::MSB_BARJOINED:
    case ToolBitmap::MSB_BARNEGATIVE:
        drawBars(p);
        break;
    case ToolBitmap::MSB_BARHORIZONTAL:
        p.translate(BitmapSize, 0);
        p.rotate(90);
        drawBars(p);
        break;
    case ToolBitmap::MSB_COPYTOCLIP:
        drawPage(p, QRectF(0.5, 0.5, 8, 10));
        drawPage(p, QRectF(5.5, 4.5, 8, 10));
        break;
    case ToolBitmap::MSB_EXPORT: {
        drawPage(p, QRectF(0.5, 0.5, 9, 13));
        p.setPen(QPen(QColor(200, 60, 0), 2));
        p.drawLine(QPointF(6, 9), QPointF(13.5, 9));
        p.drawLine(QPointF(11, 6.5), QPointF(13.5, 9));
        p.drawLine(QPointF(11, 11.5), QPointF(13.5, 9));
        break;
    }
    case ToolBitmap::MSB_CIRCLE:
        p.setBrush(QColor(200, 50, 50));
        p.drawEllipse(QRectF(1.5, 1.5, 12, 12));
        break;
    case ToolBitmap::MSB_SQUARE:
        p.setBrush(QColor(40, 90, 200));
        p.drawRect(QRectF(2.5, 2.5, 10, 10));
        break;
    case ToolBitmap::MSB_TRIANGLE: {
        QPainterPath path;
        path.moveTo(7.5, 1.5);
        path.lineTo(13.5, 13.5);
        path.lineTo(1.5, 13.5);
        path.closeSubpath();
        p.setBrush(QColor(40, 160, 60));
        p.drawPath(path);
        break;
    }
    default: {
        // The bitmaps the tool bar does not use get a plain lettered tile.
        p.setPen(Qt::gray);
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(QRectF(0.5, 0.5, 14, 14));
        drawLetter(p, QString::number(int(bitmap)));
        break;
    }
    }
    return pixmap;
}

} // namespace

QPixmap toolBitmap(ToolBitmap bitmap) {
    static QHash<int, QPixmap> cache;
    auto it = cache.find(int(bitmap));
    if (it == cache.end()) it = cache.insert(int(bitmap), drawBitmap(bitmap));
    return *it;
}

ToolBitmap toolBitmapOf(GridTool tool) {
    switch (tool) {
    case GridTool::Zoom: return ToolBitmap::MSB_ZOOM;
    case GridTool::View: return ToolBitmap::MSB_VIEW;
    case GridTool::Print: return ToolBitmap::MSB_PRINT;
    case GridTool::PrintGroup: return ToolBitmap::MSB_PRINTGROUP;
    case GridTool::Locate: return ToolBitmap::MSB_LOCATE;
    case GridTool::Refresh: return ToolBitmap::MSB_REFRESH;
    case GridTool::Sort: return ToolBitmap::MSB_SORT;
    case GridTool::TitleWordWrap: return ToolBitmap::MSB_TITLEWORDWRAP;
    case GridTool::Graph: return ToolBitmap::MSB_BAR;
    case GridTool::CopyToClip: return ToolBitmap::MSB_COPYTOCLIP;
    case GridTool::Export: return ToolBitmap::MSB_EXPORT;
    }
    return ToolBitmap::MSB_ZOOM;
}

TStdBtn::TStdBtn(QWidget* parent) : QToolButton(parent) {
    setObjectName(QStringLiteral("StdBtn") + QString::number(++buttonCounter));
    setFixedSize(GridToolBar::ButtonSize, GridToolBar::ButtonSize);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(BitmapSize, BitmapSize));
}

GridToolBar::GridToolBar() = default;

GridToolBar::~GridToolBar() {
    for (auto& b : buttons_) delete b.data();
}

GridToolBar& GridToolBar::instance() {
    if (!theToolBar) {
        theToolBar = new GridToolBar();
        qAddPostRoutine(&GridToolBar::freeInstance);
    }
    return *theToolBar;
}

GridToolBar* GridToolBar::existing() { return theToolBar; }

void GridToolBar::reportError(const std::exception& error) {
    QMessageBox::critical(nullptr, QStringLiteral("Error"), QString::fromStdString(error.what()));
}

void GridToolBar::freeInstance() {
    delete theToolBar;
    theToolBar = nullptr;
}

TStdBtn* GridToolBar::button(GridTool tool) {
    QPointer<TStdBtn>& slot = buttons_[size_t(tool)];
    if (!slot) {
        // A button is made again when the window that showed it was destroyed with it.
        slot = new TStdBtn();
        slot->setIcon(toolBitmap(toolBitmapOf(tool)));
        connect(slot, &QToolButton::clicked, this, [this, tool] {
            if (!owner_) return;
            try {
                owner_->runTool(tool);
            } catch (const std::exception& error) {
                reportError(error);
            }
        });
    }
    return slot;
}

void GridToolBar::refreshButton(GridTool tool, const TFwwDBGrid& grid) {
    TStdBtn* b = button(tool);
    const bool member = grid.gridButtons().contains(memberOf(tool));
    const bool available = toolAvailable(tool, grid);
    b->setEnabled(member && available);
    b->setToolTip(available ? toolCaption(tool) : toolCaption(tool) + QStringLiteral(": not available yet"));
}

void GridToolBar::attach(TFwwDBGrid& grid) {
    owner_ = &grid;
    QWidget* parent = grid.parentWidget();
    const int top = grid.label()->y() - 1;
    button(GridTool::Zoom)->setIcon(toolBitmap(ToolBitmap::MSB_ZOOM));
    for (int i = 0; i < GridToolCount; ++i) {
        const auto tool = GridTool(i);
        refreshButton(tool, grid);
        TStdBtn* b = button(tool);
        if (b->parentWidget() != parent) b->setParent(parent);
        b->move(FirstButtonLeft + i * ButtonSize, top);
        if (parent) {
            b->show();
            b->raise();
        }
    }
}

void GridToolBar::detach(TFwwDBGrid& grid) {
    if (owner_ != &grid) return;
    owner_ = nullptr;
    for (auto& b : buttons_) {
        if (!b) continue;
        b->hide();
        b->setParent(nullptr);
    }
}

void GridToolBar::setToolHandler(GridTool tool, ToolHandler handler) {
    handlers()[size_t(tool)] = std::move(handler);
    if (theToolBar && theToolBar->owner_)
        theToolBar->refreshButton(tool, *theToolBar->owner_);
}

const GridToolBar::ToolHandler& GridToolBar::toolHandler(GridTool tool) { return handlers()[size_t(tool)]; }

bool GridToolBar::toolAvailable(GridTool tool, const TFwwDBGrid& grid) {
    switch (tool) {
    case GridTool::Zoom:
    case GridTool::Refresh:
    case GridTool::TitleWordWrap:
    case GridTool::CopyToClip:
        return true;
    case GridTool::Print:
        return bool(grid.OnPrint) || bool(toolHandler(tool));
    default:
        return bool(toolHandler(tool));
    }
}

QString GridToolBar::toolCaption(GridTool tool) {
    switch (tool) {
    case GridTool::Zoom: return QStringLiteral("Zoom");
    case GridTool::View: return QStringLiteral("Column view");
    case GridTool::Print: return QStringLiteral("Print");
    case GridTool::PrintGroup: return QStringLiteral("Summaries");
    case GridTool::Locate: return QStringLiteral("Locate");
    case GridTool::Refresh: return QStringLiteral("Refresh");
    case GridTool::Sort: return QStringLiteral("Sort");
    case GridTool::TitleWordWrap: return QStringLiteral("Title word-wrap");
    case GridTool::Graph: return QStringLiteral("Graph");
    case GridTool::CopyToClip: return QStringLiteral("Copy to clipboard");
    case GridTool::Export: return QStringLiteral("Export");
    }
    return {};
}

void GridToolBar::setZoomHandler(ZoomHandler handler) { zoom() = std::move(handler); }

const GridToolBar::ZoomHandler& GridToolBar::zoomHandler() { return zoom(); }
