#pragma once

// The paper a print job asks of the printer. The job says what it needs; the printer
// side (PrinterDevice::apply) sets it, so that a job's logic never touches a printer.
struct PageRequest {
    bool paper = false;     // false: the printer's paper as it stands
    int code = 0;           // Windows paper number (1 Letter, 9 A4, 11 A5, an envelope's); 0: width × height
    double width = 0;       // the paper for code 0, inches, portrait
    double height = 0;
    bool orient = false;    // whether the job sets the orientation
    bool landscape = false;
    // The job must be sure of the paper (labels on their stock): the printer side then
    // checks that the page it reports is this paper (matches()), and asks before
    // printing on anything else.
    bool confirm = false;

    // Whether a page of the printer's own width and height (portrait) is this paper,
    // within 0.05 in after rounding to hundredths.
    bool matches(double pageWidth, double pageHeight) const;
};
