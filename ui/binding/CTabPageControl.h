#pragma once

#include <string>
#include <vector>

#include "platform/Controls.h"

// Shows the page of the selected tab (shown and enabled) and hides and disables the
// others. The pages lie in the tab control's display area; it does not own them.
class CTabPageControl : public TabControl {
public:
    ~CTabPageControl() override = default;

    // A tab named with the first 50 characters of the name, after the others; then the
    // first tab is selected and its page shown.
    void addPage(const std::string& name, Window* page);
    void showSelected();
    // Removes every tab (when the control still exists) and forgets the pages.
    void removeAll();

    const std::vector<Window*>& getPages() const { return pages_; }

private:
    std::vector<Window*> pages_;
};

// Applied to every page in order: shows the selected one, hides the rest.
template <class Page> class ChangeTabPage {
public:
    explicit ChangeTabPage(int selected) : selected_(selected) {}
    virtual ~ChangeTabPage() = default;

    virtual void operator()(Page* page)
    {
        if (page != nullptr) {
            page->show(index_ == selected_);
            page->enable(index_ == selected_);
        }
        ++index_;
    }

private:
    int selected_;
    int index_ = 0;
};
