#pragma once
// A device context on a printer: the painter of one print job on a QPrinter. Its page is the
// printable area, HORZRES x VERTRES device pixels at the printer's resolution, which is held
// to at most 600 dots per inch because views draw whole images of their part of the page.

#include "DC.h"

#include <memory>

class QPrinter;

class CPrinterDC : public CDC
{
public:
    CPrinterDC();
    // Ends a job that is still open.
    ~CPrinterDC() override;

    // Starts the job on the first page; false when the printer cannot start (a PDF file that
    // cannot be written, a printer that went away).
    bool StartDoc(QPrinter& printer);
    // Ends the page and starts the next one.
    bool NewPage();
    // Ends the job, which sends it to the printer or writes the file.
    bool EndDoc();

    static constexpr int MAX_RESOLUTION = 600;

private:
    std::unique_ptr<QPainter> m_pJobPainter;
    QPrinter* m_pPrinter = nullptr;
};
