// The file dialog driven as a user drives it, inside its modal loop: the
// listing and its filters, folder navigation, names refused and taken, and
// the answers a script queues.
#include "platform/afx/FileDialog.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/user/Input.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FileDialogTest : public ::testing::Test {
protected:
    FileDialogTest() {
        root = fs::temp_directory_path() / ("kw-filedialog-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "sub");
        fs::create_directories(root / "Zeta");
        for (const char* name : {"a.bmp", "B.BMP", "c.ico", "notes.txt", ".hidden.bmp",
                                 "sub/inner.bmp", "README"})
            std::ofstream(root / name) << "x";
    }
    ~FileDialogTest() override {
        kw::afx::ClearFileDialogAnswers();
        fs::remove_all(root);
    }

    // Runs `drive` inside the dialog's modal loop.
    INT_PTR Run(CFileDialog& dialog, std::function<void(HWND)> drive) {
        session.Modal().onModalLoop = [&, drive](HWND hwnd) {
            dialogWindow = hwnd;
            drive(hwnd);
            stillOpen = IsWindow(hwnd) && !kw::user::IsModalLoopEnded(hwnd);
        };
        const INT_PTR result = dialog.DoModal();
        session.Modal().onModalLoop = nullptr;
        return result;
    }
    static std::vector<std::string> Listing(HWND dialog) {
        const HWND list = GetDlgItem(dialog, lst1);
        std::vector<std::string> entries;
        const int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256]{};
            SendMessageA(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }
    static std::string Text(HWND hwnd) {
        char text[512]{};
        GetWindowTextA(hwnd, text, int(sizeof text));
        return text;
    }
    // Types into the name field and presses Enter.
    void Enter(HWND dialog, const std::string& name) {
        const HWND edit = GetDlgItem(dialog, edt1);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        session.Type(name);
        session.Key(VK_RETURN);
    }
    // Selects a list entry with the keyboard, as a user would.
    void Select(HWND dialog, int index) {
        SetFocus(GetDlgItem(dialog, lst1));
        session.Key(VK_HOME);
        for (int i = 0; i < index; ++i)
            session.Key(VK_DOWN);
    }

    kw::headless::HeadlessSession session;
    fs::path root;
    HWND dialogWindow{nullptr};
    bool stillOpen{false};
};

constexpr const char* kFilter = "Bitmaps (*.bmp)|*.bmp|Pictures (*.bmp;*.ico)|*.bmp;*.ico|"
                                "All Files (*.*)|*.*||";

} // namespace

TEST_F(FileDialogTest, ListsParentFoldersAndMatchingFilesAndFollowsTheFilter) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFilter);
    const std::string initial = root.string();
    dialog.m_ofn.lpstrInitialDir = initial.c_str();
    std::vector<std::vector<std::string>> seen;
    std::string title, firstFolder, folder, combo;
    const INT_PTR result = Run(dialog, [&](HWND hwnd) {
        title = Text(hwnd);
        firstFolder = Text(GetDlgItem(hwnd, stc1));
        combo = Text(GetDlgItem(hwnd, cmb1));
        seen.push_back(Listing(hwnd));
        // The second filter, chosen from the list of types.
        SetFocus(GetDlgItem(hwnd, cmb1));
        session.Key(VK_DOWN);
        seen.push_back(Listing(hwnd));
        session.Key(VK_DOWN); // All Files (*.*) takes names without a dot too
        seen.push_back(Listing(hwnd));
        // A typed pattern filters at once and chooses nothing.
        Enter(hwnd, "*.TXT");
        seen.push_back(Listing(hwnd));
        // A folder in front of a pattern is entered.
        Enter(hwnd, "sub/*.bmp;*.ico");
        seen.push_back(Listing(hwnd));
        folder = Text(GetDlgItem(hwnd, stc1));
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(stillOpen) << "a pattern does not end the dialog";
    EXPECT_EQ(title, "Open");
    EXPECT_EQ(firstFolder, root.string());
    EXPECT_EQ(folder, (root / "sub").string());
    EXPECT_EQ(combo, "Bitmaps (*.bmp)");
    ASSERT_EQ(seen.size(), 5u);
    using L = std::vector<std::string>;
    EXPECT_EQ(seen[0], (L{"..", "sub/", "Zeta/", "a.bmp", "B.BMP"}))
        << "folders first, case ignored in order and in patterns, no hidden files";
    EXPECT_EQ(seen[1], (L{"..", "sub/", "Zeta/", "a.bmp", "B.BMP", "c.ico"}));
    EXPECT_EQ(seen[2], (L{"..", "sub/", "Zeta/", "a.bmp", "B.BMP", "c.ico", "notes.txt", "README"}));
    EXPECT_EQ(seen[3], (L{"..", "sub/", "Zeta/", "notes.txt"}));
    EXPECT_EQ(seen[4], (L{"..", "inner.bmp"}));
    EXPECT_EQ(dialog.m_ofn.nFilterIndex, 3u);
}

TEST_F(FileDialogTest, NavigatesFoldersAndReturnsTheChosenPath) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter);
    const std::string start = (root / "sub" / "a.bmp").string(); // a folder and a name
    std::strcpy(dialog.m_ofn.lpstrFile, start.c_str());
    std::vector<std::string> folders;
    std::string name;
    const INT_PTR result = Run(dialog, [&](HWND hwnd) {
        folders.push_back(Text(GetDlgItem(hwnd, stc1)));
        name = Text(GetDlgItem(hwnd, edt1));
        Select(hwnd, 0); // ".." with Enter goes up
        session.Key(VK_RETURN);
        folders.push_back(Text(GetDlgItem(hwnd, stc1)));
        Select(hwnd, 2); // "Zeta/"
        session.Key(VK_RETURN);
        folders.push_back(Text(GetDlgItem(hwnd, stc1)));
        Enter(hwnd, "../sub"); // typed folders are entered too
        folders.push_back(Text(GetDlgItem(hwnd, stc1)));
        Select(hwnd, 1); // a file fills the name field
        EXPECT_EQ(Text(GetDlgItem(hwnd, edt1)), "inner.bmp");
        session.Key(VK_RETURN);
    });
    EXPECT_EQ(name, "a.bmp") << "the name given shows in the name field";
    ASSERT_EQ(folders.size(), 4u);
    EXPECT_EQ(folders[0], (root / "sub").string());
    EXPECT_EQ(folders[1], root.string());
    EXPECT_EQ(folders[2], (root / "Zeta").string());
    EXPECT_EQ(folders[3], (root / "sub").string());
    ASSERT_EQ(result, IDOK);
    const std::string chosen = (root / "sub" / "inner.bmp").string();
    EXPECT_EQ(dialog.GetPathName(), chosen.c_str());
    EXPECT_EQ(dialog.GetFileName(), "inner.bmp");
    EXPECT_EQ(dialog.GetFileExt(), "bmp");
    EXPECT_EQ(dialog.GetFileTitle(), "inner");
    EXPECT_EQ(dialog.m_ofn.nFileOffset, chosen.size() - 9);
    EXPECT_EQ(dialog.m_ofn.nFileExtension, chosen.size() - 3);
    EXPECT_TRUE(session.Modal().messageBoxes.empty());
}

TEST_F(FileDialogTest, RefusesANameThatDoesNotExistAndStaysOpen) {
    CFileDialog dialog(TRUE, "bmp");
    const std::string initial = root.string();
    dialog.m_ofn.lpstrInitialDir = initial.c_str();
    bool openAfterRefusal = false;
    std::string focusText;
    const INT_PTR result = Run(dialog, [&](HWND hwnd) {
        Enter(hwnd, "missing.bmp");
        openAfterRefusal = IsWindow(hwnd) && !kw::user::IsModalLoopEnded(hwnd);
        focusText = GetFocus() == GetDlgItem(hwnd, edt1) ? "name field" : "elsewhere";
        Enter(hwnd, "a"); // the default extension completes a name without one
    });
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(focusText, "name field");
    ASSERT_EQ(session.Modal().messageBoxes.size(), 1u);
    const auto& box = session.Modal().messageBoxes[0];
    EXPECT_EQ(box.text, (root / "missing.bmp").string() +
                            "\nFile not found.\nCheck the file name and try again.");
    EXPECT_EQ(box.caption, "Open");
    EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetPathName(), (root / "a.bmp").string().c_str());
}

TEST_F(FileDialogTest, CancelAndClosingChooseNothing) {
    CFileDialog dialog(TRUE, nullptr, "start.bmp");
    EXPECT_EQ(Run(dialog, [&](HWND) { session.Key(VK_ESCAPE); }), IDCANCEL);
    EXPECT_EQ(dialog.GetPathName(), "start.bmp") << "the buffer is left as it was";
    // A headless run nobody drives ends as a user closing the window.
    CFileDialog undriven(TRUE);
    EXPECT_EQ(undriven.DoModal(), IDCANCEL);
    EXPECT_EQ(undriven.GetPathName(), "");
}

TEST_F(FileDialogTest, QueuedAnswersChooseOrCancelInOrder) {
    const std::string picture = (root / "c.ico").string();
    kw::afx::QueueFileDialogAnswer(picture);
    kw::afx::QueueFileDialogAnswer(std::nullopt);
    kw::afx::QueueFileDialogAnswer((root / "nothing.ico").string());

    CFileDialog first(TRUE);
    ASSERT_EQ(first.DoModal(), IDOK);
    EXPECT_EQ(first.GetPathName(), picture.c_str());
    CFileDialog second(TRUE);
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    CFileDialog third(TRUE);
    EXPECT_EQ(third.DoModal(), IDCANCEL) << "a refused answer chooses nothing";
    ASSERT_EQ(session.Modal().messageBoxes.size(), 1u);
    EXPECT_EQ(kw::afx::ClearFileDialogAnswers(), 0u);
}

TEST_F(FileDialogTest, SaveModeAsksBeforeReplacingAFile) {
    CFileDialog dialog(FALSE, "bmp");
    const std::string initial = root.string();
    dialog.m_ofn.lpstrInitialDir = initial.c_str();
    session.Modal().scriptedAnswers = {IDNO, IDYES};
    bool openAfterNo = false;
    std::string title;
    const INT_PTR result = Run(dialog, [&](HWND hwnd) {
        title = Text(hwnd);
        Enter(hwnd, "a");
        openAfterNo = !kw::user::IsModalLoopEnded(hwnd);
        Enter(hwnd, "a.bmp");
    });
    EXPECT_EQ(title, "Save As");
    EXPECT_TRUE(openAfterNo);
    ASSERT_EQ(session.Modal().messageBoxes.size(), 2u);
    EXPECT_EQ(session.Modal().messageBoxes[0].text,
              (root / "a.bmp").string() + " already exists.\nDo you want to replace it?");
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetPathName(), (root / "a.bmp").string().c_str());
}

TEST_F(FileDialogTest, ARelativeNameStartsFromTheWorkingFolderAndComesBackWhole) {
    const fs::path previous = fs::current_path();
    fs::current_path(root);
    CFileDialog dialog(TRUE, nullptr, "sub/inner.bmp");
    std::string folder, name;
    const INT_PTR result = Run(dialog, [&](HWND hwnd) {
        folder = Text(GetDlgItem(hwnd, stc1));
        name = Text(GetDlgItem(hwnd, edt1));
        session.Key(VK_RETURN);
    });
    EXPECT_EQ(fs::current_path(), root) << "the dialog leaves the working folder alone";
    fs::current_path(previous);
    EXPECT_EQ(folder, (root / "sub").string());
    EXPECT_EQ(name, "inner.bmp");
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetPathName(), (root / "sub" / "inner.bmp").string().c_str());
}
