#pragma once

#include <QList>
#include <stdexcept>

// Small helpers shared by the lists of the model.
namespace Listen {

// Checked access: a position outside the list is a programming error of the caller.
template <typename Liste> void PruefePosition(const Liste& liste, qint64 i, const char* wer)
{
    if (i < 0 || i >= liste.size())
        throw std::out_of_range(wer);
}

// Takes the element at von out of the list and inserts it at nach of the shortened list.
template <typename T> void Verschieben(QList<T>& liste, qint64 von, qint64 nach, const char* wer)
{
    PruefePosition(liste, von, wer);
    PruefePosition(liste, nach, wer);
    liste.move(von, nach);
}

} // namespace Listen
