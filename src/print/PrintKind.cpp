#include "PrintKind.h"

const PrintKindTexts& printKindTexts(PrintKind kind) {
    static const PrintKindTexts labels{
        "Print Status ",
        "Cancel Label Printing?",
        "\rLabel Print Canceled!",
        "\rLabel Preview Canceled!",
        "\rPreview Stopped at page %p!",
        "\rLabel Print Completed!",
        "",
        true,
        false,
        "Preview Labels",
        PreviewZoom::PageWidth,
    };
    static const PrintKindTexts envelopes{
        "Print Status",
        "",
        "\rEnvelope Print Canceled!",
        "\rEnvelope Preview Canceled!",
        "\rPreview Stopped!",
        "\rEnvelope Print Completed!",
        "",
        true,
        true,
        "Preview Envelope",
        PreviewZoom::WholePage,
    };
    static const PrintKindTexts zipCount{
        "Print Status",
        "Cancel Printing?",
        "\rPrint Canceled!",
        "\rPreview Canceled!",
        "\rPreview Stopped at page %p!",
        "\rPrint Completed!",
        "\rPreview Ready!",
        false,
        false,
        "Preview Zipcode Count",
        PreviewZoom::Percent100,
    };
    static const PrintKindTexts reports{
        "Print Status",
        "Cancel Report Printing?",
        "\rReport Print Canceled!",
        "\rReport Preview Canceled!",
        "\rPreview Stopped at page %p!",
        "\rReport Print Completed!",
        "\rReport Preview Ready!",
        false,
        false,
        "Preview Report",
        PreviewZoom::PageWidth,
    };
    static const PrintKindTexts letters{
        "Print Status Screen",
        "Cancel print job?",
        "\rLetter Print Canceled!",
        "\rPreview Canceled!",
        "\rPreview Stopped!",
        "\rLetter Print Completed!",
        "",
        true,
        false,
        "Preview Letters",
        PreviewZoom::PageWidth,
    };
    switch (kind) {
        case PrintKind::Letters:
            return letters;
        case PrintKind::Labels:
            return labels;
        case PrintKind::Envelopes:
            return envelopes;
        case PrintKind::ZipCount:
            return zipCount;
        case PrintKind::Reports:
            break;
    }
    return reports;
}
