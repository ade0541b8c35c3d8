// Finding a game by typing into the list: the typed text picks the row, which becomes
// selected and current, and is scrolled into view, so Return starts it.

#include "CVelmoraView.h"
#include "TypeToFind.h"

namespace velmora::games {

void CVelmoraView::keyboardSearch(const QString& search) {
    TypeToFind& typed = TypeToFind::Of(*this, *m_model);
    if (!typed.Add(search)) {
        return;
    }
    const int row = typed.Find(currentIndex().row());
    if (row >= 0) {  // nothing found: the selection stays, without a sound
        SelectRow(row);
        scrollTo(m_model->index(row, 0));
    }
}

}  // namespace velmora::games
