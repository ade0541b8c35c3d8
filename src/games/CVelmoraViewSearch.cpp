// Finding a game by typing into the list: the typed text picks the row, which becomes
// selected and current, and is scrolled into view, so Return starts it.

#include "CVelmoraView.h"
#include "GameSearch.h"
#include "TypeAhead.h"

namespace velmora::games {

void CVelmoraView::keyboardSearch(const QString& search) {
    TypeAhead& typed = TypeAhead::Of(*this);
    if (!typed.Add(search)) {
        return;
    }
    const QByteArray text = typed.Text().toUtf8();
    const int row =
        FindGameRow(m_model->Rows(), currentIndex().row(),
                    std::string_view(text.constData(), static_cast<size_t>(text.size())));
    if (row >= 0) {  // nothing found: the selection stays, without a sound
        SelectRow(row);
        scrollTo(m_model->index(row, 0));
    }
}

}  // namespace velmora::games
