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
    // Leave the paper of the printer as it is when the paper is custom: a driver that
    // takes no paper size from us would only refuse it.
    bool keepCustom = false;
};
