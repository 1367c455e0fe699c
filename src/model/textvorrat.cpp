#include "textvorrat.h"

Textvorrat::Textvorrat(qsizetype plaetze)
{
    qsizetype n = 256;
    while (n < plaetze)
        n *= 2;
    zPlaetze = std::make_unique<Platz[]>(size_t(n));
    zMaske = quint64(n - 1);
}
