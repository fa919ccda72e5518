#include "resources/compiler/RcScript.h"

#include "platform/base/Windows1252.h"
#include "resources/compiler/RcLexer.h"
#include "resources/compiler/RcStyles.h"

#include <set>
#include <strings.h>

namespace kw::rc {

namespace {

constexpr unsigned long WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_TABSTOP = 0x00010000,
                        WS_GROUP = 0x00020000, WS_BORDER = 0x00800000, WS_POPUP = 0x80000000,
                        WS_SYSMENU = 0x00080000, WS_CAPTION = 0x00C00000, DS_SETFONT = 0x40;

// How an item statement reads: whether it starts with a text, which class
// it makes and its default style.
struct ItemKind {
    const char* keyword;
    const char* windowClass;
    bool hasText;
    unsigned long style;
};

constexpr ItemKind kItemKinds[] = {
    {"LTEXT", "STATIC", true, 0x0000 | WS_GROUP},
    {"RTEXT", "STATIC", true, 0x0002 | WS_GROUP},
    {"CTEXT", "STATIC", true, 0x0001 | WS_GROUP},
    {"ICON", "STATIC", true, 0x0003},
    {"EDITTEXT", "EDIT", false, WS_BORDER | WS_TABSTOP},
    {"PUSHBUTTON", "BUTTON", true, 0x0000 | WS_TABSTOP},
    {"DEFPUSHBUTTON", "BUTTON", true, 0x0001 | WS_TABSTOP},
    {"CHECKBOX", "BUTTON", true, 0x0002 | WS_TABSTOP},
    {"AUTOCHECKBOX", "BUTTON", true, 0x0003 | WS_TABSTOP},
    {"RADIOBUTTON", "BUTTON", true, 0x0004},
    {"AUTORADIOBUTTON", "BUTTON", true, 0x0009},
    {"GROUPBOX", "BUTTON", true, 0x0007},
};

class Parser {
public:
    Parser(std::vector<Token> tokens, std::string* error)
        : m_tokens(std::move(tokens)), m_error(error) {}

    std::optional<Script> Run() {
        Script script;
        while (Peek().kind != TokenKind::End) {
            if (IsName("STRINGTABLE")) {
                Next();
                if (!StringTable(script))
                    return std::nullopt;
                continue;
            }
            long long id = 0;
            if (!Number(&id))
                return std::nullopt;
            if (IsName("DIALOG") || IsName("DIALOGEX")) {
                Next();
                if (!DialogResource(script, id))
                    return std::nullopt;
            } else if (IsName("DLGINIT")) {
                Next();
                if (!InitialData(id))
                    return std::nullopt;
            } else if (IsName("BITMAP")) {
                Next();
                std::string file;
                if (!String(&file, false) || !Unique(m_bitmapIds, id, "bitmap"))
                    return std::nullopt;
                script.bitmaps.push_back({id, file});
            } else if (IsName("ICON")) {
                Next();
                std::string file;
                if (!String(&file, false) || !Unique(m_iconIds, id, "icon"))
                    return std::nullopt;
                script.icons.push_back({id, file});
            } else {
                return Fail<std::optional<Script>>(
                    "expected DIALOG, DIALOGEX, DLGINIT, BITMAP or ICON");
            }
        }
        if (!AttachInitialData(script))
            return std::nullopt;
        return script;
    }

private:
    const Token& Peek() const { return m_tokens[m_pos]; }
    const Token& Next() {
        const Token& t = m_tokens[m_pos];
        if (t.kind != TokenKind::End)
            ++m_pos;
        return t;
    }
    bool IsName(const char* name) const {
        return Peek().kind == TokenKind::Name && Peek().text == name;
    }

    template <class T = bool> T Fail(const std::string& message) {
        if (m_error)
            *m_error =
                "line " + std::to_string(Peek().line) + ": " + message +
                (Peek().kind == TokenKind::End ? " (at the end)" : " (at '" + Peek().text + "')");
        return T{};
    }

    bool Number(long long* out) {
        if (Peek().kind != TokenKind::Number)
            return Fail("expected a number");
        *out = Next().number;
        return true;
    }
    bool Comma() {
        if (Peek().kind != TokenKind::Comma)
            return Fail("expected ','");
        Next();
        return true;
    }
    bool Keyword(const char* name) {
        if (!IsName(name))
            return Fail(std::string("expected ") + name);
        Next();
        return true;
    }
    // `convert` turns UTF-8 text into Windows-1252, refusing what it cannot hold.
    bool String(std::string* out, bool convert = true) {
        if (Peek().kind != TokenKind::String)
            return Fail("expected a string");
        const std::string& text = Next().text;
        if (!convert) {
            *out = text;
            return true;
        }
        std::string ansi = Utf8ToAnsi(text);
        if (AnsiToUtf8(ansi) != text)
            return Fail("text that Windows-1252 cannot hold: \"" + text + "\"");
        *out = ansi;
        return true;
    }
    bool Unique(std::set<long long>& seen, long long id, const char* what) {
        if (!seen.insert(id).second)
            return Fail(std::string(what) + " " + std::to_string(id) + " is defined twice");
        return true;
    }

    // name | number | NOT name, joined by |.
    bool StyleExpression(unsigned long* style) {
        for (;;) {
            bool negate = false;
            if (IsName("NOT")) {
                Next();
                negate = true;
            }
            unsigned long value = 0;
            if (Peek().kind == TokenKind::Number) {
                value = static_cast<unsigned long>(Next().number) & 0xFFFFFFFFul;
            } else if (Peek().kind == TokenKind::Name) {
                auto v = StyleValue(Peek().text);
                if (!v)
                    return Fail("unknown style name");
                Next();
                value = *v;
            } else {
                return Fail("expected a style");
            }
            *style = negate ? (*style & ~value) : (*style | value);
            if (Peek().kind != TokenKind::Bar)
                return true;
            Next();
        }
    }

    bool StringTable(Script& script) {
        if (!Keyword("BEGIN"))
            return false;
        while (!IsName("END")) {
            long long id = 0;
            std::string text;
            if (!Number(&id))
                return false;
            if (Peek().kind == TokenKind::Comma)
                Next();
            if (!String(&text) || !Unique(m_stringIds, id, "string"))
                return false;
            script.strings.emplace_back(id, text);
        }
        Next();
        return true;
    }

    bool Rect(long long* x, long long* y, long long* cx, long long* cy) {
        return Number(x) && Comma() && Number(y) && Comma() && Number(cx) && Comma() && Number(cy);
    }

    bool DialogResource(Script& script, long long id) {
        Dialog d;
        d.id = id;
        d.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
        if (!Unique(m_dialogIds, id, "dialog") || !Rect(&d.x, &d.y, &d.cx, &d.cy))
            return false;
        bool hasStyle = false;
        for (;;) {
            if (IsName("STYLE")) {
                Next();
                d.style = 0;
                hasStyle = true;
                if (!StyleExpression(&d.style))
                    return false;
            } else if (IsName("EXSTYLE")) {
                Next();
                if (!StyleExpression(&d.exStyle))
                    return false;
            } else if (IsName("CAPTION")) {
                Next();
                if (!String(&d.caption))
                    return false;
                if (!hasStyle)
                    d.style |= WS_CAPTION;
            } else if (IsName("FONT")) {
                Next();
                if (!Number(&d.fontSize) || !Comma() || !String(&d.fontFace))
                    return false;
                // DIALOGEX fonts may carry weight, italic and character set.
                while (Peek().kind == TokenKind::Comma) {
                    Next();
                    long long ignored = 0;
                    if (!Number(&ignored))
                        return false;
                }
            } else {
                break;
            }
        }
        if (d.fontSize != 0)
            d.style |= DS_SETFONT;
        if (!Keyword("BEGIN"))
            return false;
        while (!IsName("END")) {
            DialogItem item;
            if (!Item(&item))
                return false;
            d.items.push_back(std::move(item));
        }
        Next();
        script.dialogs.push_back(std::move(d));
        return true;
    }

    // Initial data may stand before or after its dialog, so it is kept
    // until the whole script is read.
    struct PendingData {
        long long dialog, item;
        std::string text;
        int line;
    };

    bool InitialData(long long dialog) {
        if (!Unique(m_initialDataIds, dialog, "initial data of dialog") || !Keyword("BEGIN"))
            return false;
        while (!IsName("END")) {
            PendingData data{dialog, 0, {}, Peek().line};
            if (!Number(&data.item) || !Comma() || !String(&data.text))
                return false;
            m_pendingData.push_back(std::move(data));
        }
        Next();
        return true;
    }

    bool AttachInitialData(Script& script) {
        for (PendingData& data : m_pendingData) {
            auto fail = [&](const std::string& message) {
                if (m_error)
                    *m_error = "line " + std::to_string(data.line) + ": " + message;
                return false;
            };
            Dialog* dialog = nullptr;
            for (Dialog& d : script.dialogs)
                if (d.id == data.dialog)
                    dialog = &d;
            if (!dialog)
                return fail("initial data for dialog " + std::to_string(data.dialog) +
                            ", which is not defined");
            DialogItem* item = nullptr;
            for (DialogItem& i : dialog->items)
                if (i.id == data.item)
                    item = &i;
            if (!item)
                return fail("initial data for item " + std::to_string(data.item) +
                            ", which dialog " + std::to_string(data.dialog) + " does not have");
            if (strcasecmp(item->windowClass.c_str(), "COMBOBOX") != 0 &&
                strcasecmp(item->windowClass.c_str(), "LISTBOX") != 0)
                return fail("initial data for item " + std::to_string(data.item) +
                            ", which is no combo box or list box");
            item->initialData.push_back(std::move(data.text));
        }
        return true;
    }

    bool Item(DialogItem* item) {
        if (IsName("CONTROL")) {
            Next();
            // CONTROL text, id, class, style, x, y, cx, cy [, exstyle]
            if (!String(&item->text) || !Comma() || !Number(&item->id) || !Comma() ||
                !String(&item->windowClass, false) || !Comma())
                return false;
            item->style = WS_CHILD | WS_VISIBLE;
            if (!StyleExpression(&item->style) || !Comma() ||
                !Rect(&item->x, &item->y, &item->cx, &item->cy))
                return false;
            if (Peek().kind == TokenKind::Comma) {
                Next();
                if (!StyleExpression(&item->exStyle))
                    return false;
            }
            return true;
        }
        const ItemKind* kind = nullptr;
        for (const ItemKind& k : kItemKinds)
            if (IsName(k.keyword))
                kind = &k;
        if (!kind)
            return Fail("expected a dialog item or END");
        Next();
        item->windowClass = kind->windowClass;
        item->style = WS_CHILD | WS_VISIBLE | kind->style;
        if (kind->hasText) {
            if (Peek().kind == TokenKind::Number) // ICON 1, ...: the icon's id
                item->text = "#" + std::to_string(Next().number);
            else if (!String(&item->text))
                return false;
            if (!Comma())
                return false;
        }
        if (!Number(&item->id) || !Comma() || !Number(&item->x) || !Comma() || !Number(&item->y))
            return false;
        // ICON may leave out its size; every other item gives it.
        if (Peek().kind == TokenKind::Comma) {
            Next();
            if (!Number(&item->cx) || !Comma() || !Number(&item->cy))
                return false;
        } else if (std::string(kind->keyword) != "ICON") {
            return Fail("expected ','");
        }
        if (Peek().kind == TokenKind::Comma) {
            Next();
            if (!StyleExpression(&item->style))
                return false;
            if (Peek().kind == TokenKind::Comma) {
                Next();
                if (!StyleExpression(&item->exStyle))
                    return false;
            }
        }
        return true;
    }

    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
    std::string* m_error;
    std::set<long long> m_stringIds, m_dialogIds, m_bitmapIds, m_iconIds, m_initialDataIds;
    std::vector<PendingData> m_pendingData;
};

} // namespace

std::optional<Script> ParseScript(std::string_view text, std::string* error) {
    auto tokens = Tokenize(text, error);
    if (!tokens)
        return std::nullopt;
    return Parser(std::move(*tokens), error).Run();
}

} // namespace kw::rc
