#include "PrinterDC.h"

#include "MessageLog.h"

#include <QPainter>
#include <QPrinter>

CPrinterDC::CPrinterDC() = default;

CPrinterDC::~CPrinterDC()
{
    EndDoc();
}

bool CPrinterDC::StartDoc(QPrinter& printer)
{
    EndDoc();
    if (printer.resolution() > MAX_RESOLUTION)
        printer.setResolution(MAX_RESOLUTION);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&printer)) {
        g_messageLog.Log(LOG_ERROR, "CPrinterDC::StartDoc(): the printer \"%s\" (file \"%s\") cannot start.",
                         printer.printerName().toUtf8().constData(), printer.outputFileName().toUtf8().constData());
        return false;
    }
    m_pJobPainter = std::move(painter);
    m_pPrinter = &printer;
    AttachPainter(m_pJobPainter.get());
    return true;
}

bool CPrinterDC::NewPage()
{
    return m_pPrinter && m_pPrinter->newPage();
}

bool CPrinterDC::EndDoc()
{
    if (!m_pJobPainter)
        return false;
    DeleteDC();
    const bool bEnded = m_pJobPainter->end();
    m_pJobPainter.reset();
    m_pPrinter = nullptr;
    return bEnded;
}
