#pragma once

#include "kurs.h"

#include <QColor>
#include <QStyledItemDelegate>
#include <functional>

// Paints the cells of the course list: column 0 is the course's state dot on white, every
// other cell is drawn by the list itself in black text without a focus frame.
class KurslistenZeichner : public QStyledItemDelegate {
    Q_OBJECT
public:
    // kursZuZeile gives the course of a row, or nullptr.
    explicit KurslistenZeichner(
        std::function<KursZeiger(int)> kursZuZeile, QObject* parent = nullptr);
    // wirdGesendet tells whether the file of a row's course is on its way; such a row shows a
    // green ring around its dot.
    void setzeVersandAbfrage(std::function<bool(int)> wirdGesendet)
    {
        zWirdGesendet = std::move(wirdGesendet);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

    // The colour of a course's dot: green when sent, else blue when saved, else red when
    // changed; an invalid colour when the course shows no dot.
    static QColor PunktFarbe(const Kurs& kurs);

    // The dot's box inside its cell.
    static constexpr int PunktRand = 5;
    static constexpr int PunktGroesse = 10;
    // The ring of a running transfer, centred on the dot.
    static constexpr int RingRand = 2;
    static constexpr int RingGroesse = 16;
    static inline const QColor RingFarbe = QColor(0, 200, 0);

private:
    // True when the background (and the whole cell) of column 0 was painted here.
    bool Liste_PaintCellBackground(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void Liste_PaintCellText(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    std::function<KursZeiger(int)> zKursZuZeile;
    std::function<bool(int)> zWirdGesendet;
};
