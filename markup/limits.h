#pragma once

#include <QtGlobal>

// A format's bounds: a value outside them is brought to the nearer one.
template<typename T>
struct Bounds
{
    T low;
    T high;
};

// Every limit on what the program reads from outside it, in one place: the
// pane's documents and what a reader may take of them, and the sound cue.
// Each use reads its value from here. The figures were measured on Qt 6.4 so
// that no document keeps a core busy for long, or holds the window up,
// whatever its markup.
struct DocumentLimits
{
    // ---- The file ----------------------------------------------------------
    // Bytes read from one document; the page says when a file was cut.
    static constexpr qint64 documentBytes = 8 * 1024 * 1024;

    // ---- The markup, before Qt parses it (htmlguard) -------------------------
    // Tags in all; past this the parse alone takes seconds.
    static constexpr int tags = 100000;
    // Elements open inside each other.
    static constexpr int depth = 100;
    // Tables open inside each other: each level lays the one inside out again.
    static constexpr int tableDepth = 8;
    // Places in the grids of all tables, those spanning cells cover included:
    // Qt makes a cell for each before it merges them, 6 to 9 microseconds a
    // place, so at most about 2 s of parse.
    static constexpr qint64 tableCells = 200000;
    // Characters of one paragraph: line breaking looks back along the line.
    static constexpr qsizetype paragraphChars = 1000000;
    // Runs of text in distinct formats: each new one is looked up among all.
    static constexpr int formats = 2000;
    // Pictures in the paragraphs they lie in: for each picture Qt's reader
    // goes back over its paragraph so far, from about 15 ns a letter in a
    // paragraph of 100,000 to 120 ns in one of a million, a picture before
    // it weighing as `pictureWeight` letters. Summed over the document's
    // pictures, so at most about a second (1.6 s loaded, with ten pictures
    // in the longest paragraph the guard lets through).
    static constexpr qint64 pictureReach = 10000000;
    static constexpr int pictureWeight = 9;
    // Declarations in style attributes: up to 7 microseconds each to parse,
    // so at most about 210 ms.
    static constexpr int styleDeclarations = 30000;
    // What matching the style sheets may cost the parse, in selectors times
    // the elements they are matched against (see htmlguard::Report): up to
    // 0.9 microseconds each, so at most about 225 ms. The document's
    // <style> elements and the sheets it links are kept in document order
    // while they fit, and the rest left out.
    static constexpr qint64 styleMatches = 250000;

    // ---- Style sheets a document links (documentjob) -------------------------
    // Bytes of all the sheets one document links, each file given once.
    static constexpr qint64 styleSheetBytes = 256 * 1024;

    // ---- What Qt parsed (documentclean) --------------------------------------
    // Layout cost kept, in about one character of plain Latin text each.
    static constexpr qint64 layoutCost = 400000;
    // The height kept, reckoned from the type, line heights and margins in
    // a pane `narrowestPane` pixels wide, at 100 %. Qt lays a document no
    // taller than 2^23 pixels (its page height), and never finished one
    // past it: at 300 % text is nine times as tall (type and lines), and a
    // line broken at words may take twice the lines reckoned, which leaves
    // room. The practice paper is reckoned at about 9,000, its answers page
    // 13,000, and ten times that page 130,000.
    static constexpr qint64 documentHeight = 400000;
    static constexpr qreal narrowestPane = 400;
    // Distinct fonts kept (a family list counts once per family); past them
    // text is set in the pane's own font. Each costs about 1 ms on the
    // window's thread the first time it is laid out.
    static constexpr int fonts = 200;
    // Characters of a tool tip, shown as plain text.
    static constexpr int toolTipChars = 500;

    // ---- The sizes a format may give (documentclean) -------------------------
    // A paper's sizes: what stays well inside these is left as written.
    static constexpr qreal spaceSize = 200; // margins, indents, line heights, in pixels
    static constexpr qreal innerSize = 50;  // paddings, spacings
    static constexpr qreal borderSize = 10;
    static constexpr qreal widthSize = 4000; // a frame or column
    // Font sizes are also rounded: every size is a font Qt loads and measures,
    // so a paragraph in thousands of sizes costs thousands of fonts.
    static constexpr Bounds<qreal> pointSize{4, 72};
    static constexpr Bounds<int> pixelSize{4, 96};
    static constexpr Bounds<int> sizeAdjustment{-2, 4};
    static constexpr Bounds<int> fontStretch{50, 200}; // per cent
    static constexpr Bounds<qreal> wordSpacing{-4, 40};
    static constexpr Bounds<qreal> letterSpacingPercent{50, 200};
    static constexpr Bounds<qreal> letterSpacing{-4, 20};
    static constexpr qreal outlineWidth = 3;
    static constexpr Bounds<qreal> lineHeightPercent{50, 300};
    static constexpr int indentSteps = 10; // a block's or a list's

    // ---- Pictures (picturedecoder) -------------------------------------------
    // Bytes of one picture file.
    static constexpr qint64 pictureBytes = 8 * 1024 * 1024;
    // Pixels of one file, as its header gives them.
    static constexpr qint64 picturePixels = 4096 * 4096;
    // Pixels decoded from files for one document.
    static constexpr qint64 readPixels = 4 * 4096 * 4096;
    // Pixels kept to be shown for one document, spent in document order.
    static constexpr qint64 shownPixels = 8 * 1000 * 1000;
    // A picture's shown side, in pixels.
    static constexpr int pictureSide = 2000;
    // The shown height and area of all of one document's pictures, in
    // document order, at 100 %; past either a picture is the placeholder.
    // Qt 6.4 laid out 4,000 pictures 2,000 pixels tall in seconds, and never
    // finished 6,000; a paper ten times the practice paper's shows under
    // 40,000 pixels of pictures.
    static constexpr qint64 picturesHeight = 200000;
    static constexpr qint64 picturesArea = 100 * 1000 * 1000;

    // ---- What a screen reader asks of the pane (documentaccessible) ---------
    // Characters of one stretch read in words (a number and its unit, a
    // fraction, an exponent): a longer one is read as written, digit by
    // digit, as a reader's questions about it cost in proportion to it.
    static constexpr int spokenStretchChars = 64;
    // What answering a screen reader's questions about where characters
    // lie may cost, in steps of Qt's walk along a line's runs (of format,
    // of script, tabs; about 85 ns each on Qt 6.4). A line's carets are
    // worked out together when that costs at most lineCaretSteps, else one
    // at a time. Qt's bridge asks a range's characters in turn, each
    // weighed as characterSteps and the walks it takes; past
    // rangeExtentSteps the rest of the range is left out, its box that of
    // its start: about 125 ms on a loaded machine, room for the practice
    // paper read whole (its lengthened edition asks about 850,000).
    static constexpr qint64 lineCaretSteps = 50000;
    static constexpr qint64 characterSteps = 20;
    static constexpr qint64 rangeExtentSteps = 1000000;

    // ---- The text's size (paperzoom) -------------------------------------------
    // Runs in a size of their own that a zoom step scales: each is laid out
    // again at its new size, about 27 microseconds a run in one paragraph, and
    // may load a font, so a step costs at most about a quarter of a second.
    // A document with more keeps its size, and the key says so.
    static constexpr int zoomRuns = 2000;

    // ---- What leaves the pane (selectiondata, documentview) ------------------
    // Characters of a selection kept at most; past them it is cut.
    static constexpr int selectionChars = 1 << 20;
    // List items of a selection kept at most, past them it is cut: Qt copies
    // a list in a time that grows with the cube of its items (9 ms for
    // 1,000, 400 ms for 4,000), and copies again at each move of a selection
    // X11 keeps.
    static constexpr int selectionListItems = 1000;
    // Documents a link left, that Alt+Left goes back to.
    static constexpr int backSteps = 32;
};

struct SoundLimits
{
    // Bytes of the cue, read whole and checked before it plays; a larger
    // file is refused like any other bad file.
    static constexpr qint64 cueBytes = 16 * 1024 * 1024;
};
