#pragma once

#include <QHeaderView>

// The header row of the grade table: a heading wider than its column ends in "…" instead of
// being cut off at both sides.
class Kurskopf : public QHeaderView {
    Q_OBJECT
public:
    explicit Kurskopf(QWidget* parent = nullptr);

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};
