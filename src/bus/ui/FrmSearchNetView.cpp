#include "bus/ui/FrmSearchNetView.h"

#include "platform/ui/BoundControls.h"

#include "platform/ui/ViewSupport.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int kRowHeightPx = 20;
// The list's twips are shown a third larger than the usual 15 twips per pixel, so that the
// columns hold their texts in today's larger screen fonts.
int Px(int twips) {
    return twips * 4 / 45;
}

QTableWidget* MakeGrid(QWidget* parent) {
    auto* g = new QTableWidget(parent);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection); // cell colours stay visible
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->verticalHeader()->setDefaultSectionSize(kRowHeightPx);
    return g;
}
} // namespace

FrmSearchNetView::FrmSearchNetView(FrmSearchNet& form, QWidget* parent) : QWidget(parent), form_(form) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->setSpacing(0);
    grid2_ = MakeGrid(this);
    grid2_->setFixedHeight(kRowHeightPx + 2);
    grid2_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid2_->setFocusPolicy(Qt::NoFocus);
    grid2_->setSelectionMode(QAbstractItemView::NoSelection);
    grid1_ = MakeGrid(this);
    label1_ = new QLabel(this);
    label2_ = new QLabel(this);
    for (QLabel* l : {label1_, label2_}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignCenter);
    }
    lay->addWidget(grid2_);
    lay->addWidget(grid1_, 1);
    lay->addSpacing(6);
    lay->addWidget(label1_);
    lay->addWidget(label2_);

    connect(grid1_, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) {
        form_.MSFlexGrid1.Row = row;
        form_.MSFlexGrid1.Col = col;
        if (form_.MSFlexGrid1.DblClick) form_.MSFlexGrid1.DblClick();
        sync();
    });
    BindTimer(timer_, form_.Timer1, [this] { sync(); });
    form_.Refresh = [this] {
        sync();
        repaint();
    };
    sync();
}

void FrmSearchNetView::syncGrid(QTableWidget* view, const FlexGrid& grid) {
    view->setColumnCount(grid.cols());
    view->setRowCount(grid.rows());
    for (int c = 0; c < grid.cols() && c < static_cast<int>(FrmSearchNet::kColWidth.size()); ++c)
        view->setColumnWidth(c, Px(FrmSearchNet::kColWidth[static_cast<size_t>(c)]));
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            QTableWidgetItem* item = view->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignCenter);
                view->setItem(r, c, item);
            }
            if (item->text() != grid.textMatrix(r, c)) item->setText(grid.textMatrix(r, c));
            item->setBackground(ToQColor(grid.cellBackColor(r, c)));
        }
    }
    view->setFixedWidth(Px(grid.Width) + 2 +
                        (view == grid1_ ? view->verticalScrollBar()->sizeHint().width() : 0));
    if (view->toolTip() != grid.ToolTipText) view->setToolTip(grid.ToolTipText);
}

void FrmSearchNetView::sync() {
    if (form_.Width > 0 && form_.Height > 0) setFixedSize(Px(form_.Width), Px(form_.Height));
    syncGrid(grid2_, form_.MSFlexGrid2);
    syncGrid(grid1_, form_.MSFlexGrid1);
    QFont bold = grid2_->font();
    bold.setBold(true);
    for (int c = 0; c < grid2_->columnCount(); ++c)
        if (auto* it = grid2_->item(0, c)) it->setFont(bold);
    label1_->setText(form_.Label1.Caption);
    label1_->setVisible(form_.Label1.Visible);
    label2_->setText(form_.Label2.Caption);
    label2_->setVisible(form_.Label2.Visible);
    ShowMousePointer(this, form_.MousePointer);
    ShowTimer(timer_, form_.Timer1);
}

namespace {
// Passes the close box of the list's document window to the list's closing rule; a close that
// comes from the list's own unloading passes through.
class CloseQuery : public QObject {
  public:
    CloseQuery(FrmSearchNet& form, QObject* parent) : QObject(parent), form_(form) {}

  protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() == QEvent::Close && form_.IsShown()) {
            bool cancel = false;
            form_.Form_QueryUnload(cancel);
            if (cancel) {
                e->ignore();
                return true;
            }
        }
        return QObject::eventFilter(obj, e);
    }

  private:
    FrmSearchNet& form_;
};
} // namespace

QWidget* DeviceListDocument(FrmSearchNet& form, QMdiArea* area) {
    auto* view = new FrmSearchNetView(form);
    QMdiSubWindow* sub =
        area->addSubWindow(view, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    sub->setWindowTitle(form.Caption);
    sub->installEventFilter(new CloseQuery(form, sub));
    view->sync();
    sub->adjustSize();
    sub->move(0, 0);
    return sub;
}
