// Test support: the US keyboard's key code for each character.
#include "tests/support/UsLayout.h"

// A US keyboard as the layout queries report it, plus three made-up keys for the modifier bits.
uint16_t UsLayoutKey(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<uint16_t>(c - u'a' + 'A');
    if (c >= u'A' && c <= u'Z') return static_cast<uint16_t>(0x100 | c);
    if (c >= u'0' && c <= u'9') return c;
    switch (c) {
        case u' ':
            return 0x20;
        case u'\r':
            return 0x0D;
        case u'\n':
            return 0x20D;  // CTRL+ENTER
        case u'\t':
            return 0x09;
        case u')':
            return 0x130;
        case u'!':
            return 0x131;
        case u'@':
            return 0x132;
        case u'#':
            return 0x133;
        case u'$':
            return 0x134;
        case u'%':
            return 0x135;
        case u'^':
            return 0x136;
        case u'&':
            return 0x137;
        case u'*':
            return 0x138;
        case u'(':
            return 0x139;
        case u';':
            return 0xBA;
        case u':':
            return 0x1BA;
        case u'=':
            return 0xBB;
        case u'+':
            return 0x1BB;
        case u',':
            return 0xBC;
        case u'<':
            return 0x1BC;
        case u'-':
            return 0xBD;
        case u'_':
            return 0x1BD;
        case u'.':
            return 0xBE;
        case u'>':
            return 0x1BE;
        case u'/':
            return 0xBF;
        case u'?':
            return 0x1BF;
        case u'`':
            return 0xC0;
        case u'~':
            return 0x1C0;
        case u'[':
            return 0xDB;
        case u'{':
            return 0x1DB;
        case u'\\':
            return 0xDC;
        case u'|':
            return 0x1DC;
        case u']':
            return 0xDD;
        case u'}':
            return 0x1DD;
        case u'\'':
            return 0xDE;
        case u'"':
            return 0x1DE;
        case u'\u00E4':
            return 0x6DE;  // CTRL+ALT, as a right-ALT layer reports it
        case u'\u03A9':
            return 0x751;  // SHIFT+CTRL+ALT
        case u'\u00B5':
            return 0x384D;  // only bits beyond SHIFT, CTRL and ALT
        default:
            return 0xFFFF;
    }
}
