// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace struktur::rtf {

// The control words the reader acts on; every other word is ignored (or, after \*, skipped with
// its group).
#define STRUKTUR_RTF_KEYWORDS(X)                                                                          \
    X(rtf) X(ansi) X(mac) X(pc) X(pca) X(ansicpg) X(deff) X(uc) X(u) X(upr) X(ud)                          \
    X(fonttbl) X(colortbl) X(stylesheet) X(info) X(title) X(subject) X(author) X(keywords) X(comment)     \
    X(doccomm) X(generator) X(listtable) X(listoverridetable) X(list) X(listlevel) X(leveltext)           \
    X(levelnumbers) X(listoverride) X(listtext) X(pntext) X(pn) X(pntxta) X(pntxtb) X(field) X(fldinst)   \
    X(fldrslt) X(pict) X(shppict) X(nonshppict) X(object) X(result) X(header) X(headerl) X(headerr)       \
    X(headerf) X(footer) X(footerl) X(footerr) X(footerf) X(footnote) X(annotation) X(xe) X(tc) X(txe)    \
    X(rxe) X(pnseclvl) X(filetbl) X(revtbl) X(listpicture) X(shpinst) X(shptxt) X(shp) X(shpgrp) X(shprslt) X(sp) X(sv) X(chftn) X(cbpat) X(cfpat) X(shading) X(atnauthor) \
    X(atnid) X(bkmkstart) X(bkmkend) X(nesttableprops) X(nonesttables) X(themedata) X(datastore)          \
    X(f) X(fcharset) X(cpg) X(red) X(green) X(blue)                                                       \
    X(plain) X(b) X(i) X(ul) X(uld) X(uldash) X(uldashd) X(uldashdd) X(uldb) X(ulhwave) X(ulldash)        \
    X(ulnone) X(ulth) X(ulthd) X(ulthdash) X(ulthdashd) X(ulthdashdd) X(ulthldash) X(ululdbwave) X(ulw)   \
    X(ulwave) X(strike) X(striked) X(fs) X(cf) X(cb) X(highlight) X(chcbpat) X(super) X(sub)              \
    X(nosupersub) X(up) X(dn) X(v) X(caps) X(scaps)                                                       \
    X(pard) X(ql) X(qc) X(qr) X(qj) X(qd) X(li) X(ri) X(fi) X(lin) X(rin) X(sb) X(sa) X(sl) X(slmult)     \
    X(tx) X(tqr) X(tqc) X(tqdec) X(intbl) X(itap) X(ls) X(ilvl) X(pagebb)                                  \
    X(par) X(line) X(tab) X(page) X(sect) X(cell) X(row) X(nestcell) X(nestrow) X(trowd) X(cellx)         \
    X(emdash) X(endash) X(lquote) X(rquote) X(ldblquote) X(rdblquote) X(bullet) X(emspace) X(enspace)     \
    X(qmspace) X(zwj) X(zwnj) X(ltrmark) X(rtlmark) X(zwbo) X(zwnbo)                                      \
    X(pnlvl) X(pnlvlblt) X(pnlvlbody) X(pnlvlcont) X(pndec) X(pnucltr) X(pnlcltr) X(pnucrm) X(pnlcrm)     \
    X(pnord) X(pnordt) X(pncard) X(pncardt) X(pnstart) X(pnindent) X(pnf)                                 \
    X(listid) X(levelnfc) X(levelnfcn) X(levelstartat)                                                    \
    X(pngblip) X(jpegblip) X(emfblip) X(wmetafile) X(macpict) X(dibitmap) X(wbitmap) X(pmmetafile)        \
    X(picw) X(pich) X(picwgoal) X(pichgoal) X(picscalex) X(picscaley) X(objw) X(objh)                      \
    X(clmgf) X(clmrg) X(clvmgf) X(clvmrg) X(clbrdrt) X(clbrdrb) X(clbrdrl) X(clbrdrr) X(trbrdrt)          \
    X(trbrdrb) X(trbrdrl) X(trbrdrr)

enum class Keyword : uint16_t {
    Unknown,
#define STRUKTUR_RTF_ENUM(name) name,
    STRUKTUR_RTF_KEYWORDS(STRUKTUR_RTF_ENUM)
#undef STRUKTUR_RTF_ENUM
};

/// The keyword for a control word (case-sensitive), or Keyword::Unknown.
Keyword lookupKeyword(QByteArrayView word);

} // namespace struktur::rtf
