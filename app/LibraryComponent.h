#pragma once

#include "editor/CheckBoxLook.h"
#include "editor/CustomLook.h"
#include "library/LibraryPreset.h"
#include "library/SearchTerms.h"

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>
#include <vector>

/** The content of the Library window: a search field over the list of the library's presets,
    each with its name, group, date modified and one line of what it sends (or the preset it is
    the same as, or why it cannot be read). Each keystroke filters the presets held in memory;
    nothing is read from the disk while typing. Down goes from the field into the list, Return
    opens the selected preset, Escape asks to close. In the list, F2 asks for a new name, Delete
    asks before the preset goes to the trash, and Ctrl+D duplicates it; buttons do the same.
    With "Send on Select" ticked, each preset the user moves onto is handed on to be sent.
*/
class LibraryComponent final : public juce::Component, public juce::KeyListener, private juce::ListBoxModel
{
public:
    LibraryComponent();
    ~LibraryComponent() override;

    /** Shows these presets, filtered by what the field holds. */
    void setPresets (std::vector<LibraryPreset> presets);

    /** The presets the list shows now, in its order. */
    std::vector<const LibraryPreset*> shownPresets() const;
    /** The selected one; null when none is. */
    const LibraryPreset* selectedPreset() const;

    /** Return on a preset. */
    std::function<void (const juce::File&)> onOpen;
    /** Escape. */
    std::function<void()> onCloseRequested;
    /** F2 answered with a name. */
    std::function<void (const LibraryPreset&, const juce::String& newName)> onRename;
    /** Delete, once the user agreed. */
    std::function<void (const LibraryPreset&)> onMoveToTrash;
    /** Ctrl+D or the button. */
    std::function<void (const LibraryPreset&)> onDuplicate;
    /** The user moved onto a readable preset while "Send on Select" is ticked (not when typing
        in the field or a new reading of the folder moves the selection). */
    std::function<void (const LibraryPreset&)> onSendSelected;

    juce::ToggleButton& getSendOnSelect() noexcept { return sendOnSelect; }

    /** Selects the row of that file, if it is shown. */
    void selectFile (const juce::File& file);
    /** After the folder was read again: the file's row where it is listed, else the row at the same
        place. Sends nothing: the user did not move the selection. */
    void reselect (int row, const juce::File& file);
    /** Asks for the selected preset's new name, or whether to move it to the trash. */
    void askToRename();
    void askToMoveToTrash();
    void duplicateSelected();
    /** The question showing now; null when none is. */
    juce::AlertWindow* getQuestion() const noexcept { return question.get(); }

    juce::TextEditor& getSearchField() noexcept { return searchField; }
    juce::ListBox& getList() noexcept { return list; }
    /** What the line under the list says: how many are shown, or why the search matches nothing. */
    juce::String getStatusText() const { return status.getText(); }
    /** Says something under the list until the next keystroke. */
    void showMessage (const juce::String& message) { status.setText (message, juce::dontSendNotification); }

    void resized() override;
    void paint (juce::Graphics& g) override;
    void paintOverChildren (juce::Graphics& g) override;
    void focusOfChildComponentChanged (FocusChangeType) override { repaint(); }
    bool keyPressed (const juce::KeyPress& key, juce::Component* origin) override;
    bool keyPressed (const juce::KeyPress& key) override { return keyPressed (key, this); }

    static constexpr int rowHeight = 40;

private:
    int getNumRows() override;
    void paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool selected) override;
    void returnKeyPressed (int row) override;
    void selectedRowsChanged (int lastRowSelected) override;
    void listBoxItemDoubleClicked (int row, const juce::MouseEvent&) override;

    void filter();
    /** Shows a question about the selected preset; `answered` runs when its first button is chosen. */
    void ask (std::unique_ptr<juce::AlertWindow> window, std::function<void (const LibraryPreset&)> answered);
    void openSelected();
    /** The second line of a row: what it sends, whom it equals, or why it cannot be read. */
    static juce::String detailOf (const LibraryPreset& preset);

    std::vector<LibraryPreset> presets;
    /** Indices into `presets` of the rows shown. */
    std::vector<size_t> shown;

    CustomLook look;
    CheckBoxLook checkBoxLook;
    juce::Label searchLabel{{}, "Search:"};
    juce::TextEditor searchField;
    juce::ToggleButton sendOnSelect{"Send on Select"};
    juce::ListBox list{"Presets", this};
    /** Set while the list is filled again, whose selection the user did not move. */
    bool refilling = false;
    juce::Label status;
    juce::TextButton duplicateButton{"Duplicate"};
    juce::TextButton renameButton{juce::CharPointer_UTF8 ("Rename\u2026")};
    juce::TextButton trashButton{juce::CharPointer_UTF8 ("Move to Trash\u2026")};
    std::unique_ptr<juce::AlertWindow> question;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LibraryComponent)
};
