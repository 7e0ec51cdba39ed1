#pragma once

#include "Envelope.h"
#include "TDesignScreen.h"
#include "TEnvelopePanel.h"

class PrinterDevice;
class QAction;

// "Envelope Design Screen": the objects of one envelope at its true size, built on the
// label designer's frame, with the FIM tool, the printer's unprintable areas and the
// postal automation template as toggles, and Change Size. The caller stores the
// definition and the layout file when it ends with Save (Accepted).
class TEnvelopeDesignScreen : public TDesignScreen {
    Q_OBJECT

  public:
    // `device` gives the page geometry the unprintable areas are drawn from.
    TEnvelopeDesignScreen(const Envelope::Definition& definition, const QString& layoutFile,
                          xbase::Table& addresses, const AppHome& home, PrinterDevice& device,
                          QWidget* parent = nullptr);

    // The definition as edited: description (at most 50 characters) and size code.
    Envelope::Definition definition() const;
    TEnvelopePanel& Panel() const { return static_cast<TEnvelopePanel&>(TDesignScreen::Panel()); }
    // Change Size's second half: the envelope takes the size of `code`.
    void TakeSize(int code);

    QAction* ShowPrintableArea;
    QAction* ShowTemplate;

  protected:
    void setPanelState(int state) override;
    void ChangeLayoutButtonClick() override;

  private:
    void sizeEnvelope();

    Envelope::Definition definition_;
};
