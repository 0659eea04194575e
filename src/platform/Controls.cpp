#include "platform/Controls.h"

QColor ToQColor(ColorValue v) {
    if (v & 0x80000000u) return QColor(240, 240, 240); // system button face
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

void OptionButton::setValue(bool v) {
    if (!v) {
        value_ = false;
        return;
    }
    if (value_) return;
    for (OptionButton* o : group)
        if (o != this) o->value_ = false;
    value_ = true;
    if (Click) Click();
}

void ListBox::setSelected(int row, bool on) {
    if (row < 0 || row >= items.size()) return;
    if (marks_.size() < static_cast<size_t>(items.size())) marks_.resize(static_cast<size_t>(items.size()));
    marks_[static_cast<size_t>(row)] = on;
}

void ListBox::clickRow(int row) {
    if (row < 0 || row >= items.size()) return;
    if (MultiSelect) setSelected(row, !selected(row));
    // The click procedure runs for every click, also on the current row.
    index_ = row;
    if (Click) Click();
}

void FlexGrid::setRows(int r) {
    cells_.resize(static_cast<size_t>(std::max(0, r)));
    for (auto& row : cells_)
        row.resize(static_cast<size_t>(cols_));
}

void FlexGrid::setCols(int c) {
    cols_ = std::max(0, c);
    for (auto& row : cells_)
        row.resize(static_cast<size_t>(cols_));
}

QString FlexGrid::textMatrix(int r, int c) const {
    if (r < 0 || r >= rows() || c < 0 || c >= cols_) return {};
    return cells_[static_cast<size_t>(r)][static_cast<size_t>(c)].text;
}

void FlexGrid::setTextMatrix(int r, int c, const QString& t) {
    if (r < 0 || r >= rows() || c < 0 || c >= cols_) return;
    cells_[static_cast<size_t>(r)][static_cast<size_t>(c)].text = t;
}

ColorValue FlexGrid::cellBackColor(int r, int c) const {
    if (r < 0 || r >= rows() || c < 0 || c >= cols_) return kWhite;
    return cells_[static_cast<size_t>(r)][static_cast<size_t>(c)].back;
}

void FlexGrid::setCellBackColor(int r, int c, ColorValue v) {
    if (r < 0 || r >= rows() || c < 0 || c >= cols_) return;
    cells_[static_cast<size_t>(r)][static_cast<size_t>(c)].back = v;
}
