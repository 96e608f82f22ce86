#pragma once

#include <string>
#include <vector>

#include "platform/Window.h"

class Bitmap;

// A push button, check box or radio button. Push-like check boxes and radio buttons
// are buttons too. Setting the check mark or the pushed look by program raises no
// notification.
class Button : public Window {
public:
    enum Check { Unchecked = 0, Checked = 1 };
    // State bits as getState reports them.
    static constexpr int CheckedBit = 0x0001;
    static constexpr int PushedBit = 0x0004;
    static constexpr int FocusBit = 0x0008;

    int getCheck() const;
    void setCheck(int check);
    // The pushed look is a state of its own, apart from the check mark and the mouse.
    int getState() const;
    void setState(bool pushed);
};

class Edit : public Window {
public:
    // Limits what the user can type, counted in the layer's one-byte characters: one
    // that no byte holds goes in as "?", as it is read back. Texts set by program are
    // shown whole.
    void setLimitText(int characters);
};

// A drop-down list or an editable combo box. Selecting an item by program raises no
// notification.
class ComboBox : public Window {
public:
    static constexpr int Error = -1;

    int addString(const std::string& text);
    // Replaces the whole list in one step: a sorted list sorts the items once, in the
    // order addString would have put them. The edit part keeps its text; nothing is
    // selected.
    void replaceList(const std::vector<std::string>& items);
    int insertString(int index, const std::string& text);
    int deleteString(int index);
    void resetContent();
    int getCount() const;
    int getCurSel() const;
    int setCurSel(int index);
    std::string getLBText(int index) const;
    // Limits what the user can type into the edit part, as Edit::setLimitText does;
    // texts set by program and the items of the list are shown whole.
    void setLimitText(int characters);
};

// A track bar. The position grows to the right, or downwards on a vertical one. Moving
// the thumb by program raises no notification.
class Slider : public Window {
public:
    void setRangeMin(int minimum, bool redraw = false);
    void setRangeMax(int maximum, bool redraw = false);
    int getRangeMin() const;
    int getRangeMax() const;
    void setPos(int position);
    int getPos() const;
    void setTicFreq(int frequency);
    void setLineSize(int size);
    void setPageSize(int size);
    int getLineSize() const;
    int getPageSize() const;
};

// An up-down control: arrows only. Its arrows notify a delta (up -1, down +1).
class SpinButton : public Window {};

// A static text or picture.
class Static : public Window {
public:
    // Shows the bitmap (not owned; null clears the picture).
    void setBitmap(const Bitmap* bitmap);
    const Bitmap* getBitmap() const;
};

// A row of tabs over a display area. Pages created with the tab control as parent are
// placed in the display area; showing and hiding them is the caller's business.
// Selecting a tab by program raises no notification.
class TabControl : public Window {
public:
    int insertItem(int index, const std::string& text);
    bool deleteAllItems();
    int getItemCount() const;
    std::string getItemText(int index) const;
    int getCurSel() const;
    int setCurSel(int index);
};
