#pragma once

#include <QString>

// The kinds of print job that share the print-status and preview windows, and the
// texts and behaviour that differ between them. Closing texts start with "\r": the
// status label shows them on their second line.
enum class PrintKind { Labels, Envelopes, ZipCount, Reports, Letters };

// How the preview window first scales the page.
enum class PreviewZoom { WholePage, PageWidth, Percent100 };

struct PrintKindTexts {
    QString printCaption;    // the status window's caption when printing
    QString cancelQuestion;  // asked before a print is cancelled; empty: cancel at once
    QString printAborted;
    QString previewAborted;
    QString previewStopped;
    QString printDone;
    QString previewDone;      // empty: nothing to show, the window closes by itself
    bool closesAfterPreview;  // the window closes itself after a finished preview
    bool closesAlways;        // the window closes itself after every ending
    QString previewCaption;   // the preview window's caption
    PreviewZoom previewZoom;
};

const PrintKindTexts& printKindTexts(PrintKind kind);
