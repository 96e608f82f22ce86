#include "ui/binding/CTabPageControl.h"

void CTabPageControl::addPage(const std::string& name, Window* page)
{
    insertItem(int(pages_.size()), name.substr(0, 50));
    pages_.push_back(page);
    setCurSel(0);
    showSelected();
}

void CTabPageControl::showSelected()
{
    ChangeTabPage<Window> change(getCurSel());
    for (Window* page : pages_) {
        change(page);
    }
}

void CTabPageControl::removeAll()
{
    if (hasWindow()) {
        deleteAllItems();
    }
    pages_.clear();
}
