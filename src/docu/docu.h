// The drawing documentation of a project: change records, the drawing
// information of the title block and the document links, the dialogs'
// fill and store rules, the change protocol and the commands of the menu
// "Dokument". Free of any toolkit: the dialogs are forms of the UI port.
#pragma once
#include <functional>
#include <string>

#include "cam/model.h"
#include "core/clock.h"
#include "core/docuforms.h"
#include "core/settings.h"
#include "core/ui.h"

namespace kamo {

class ReportEngine;

// The words of the documentation (CP850), always German.
namespace docu {
inline constexpr const char* kChangeText = "\x8Enderungstext";
inline constexpr const char* kChangeDate = "\x8Enderungsdatum";
inline constexpr const char* kResponsible = "Bearbeiter";
inline constexpr const char* kChanges = "\x8Enderungen";
inline constexpr const char* kIndex = "Index";
inline constexpr const char* kMax = "Max.";
inline constexpr const char* kProtocolTitle = "\x8Enderungsprotokoll";
inline constexpr const char* kDrawingInfo = "Zeichnungsinfo";
inline constexpr const char* kCreationDate = "Erstellungsdatum";
inline constexpr const char* kReplacementFor = "Ersatz f\x81r";
inline constexpr const char* kReplacedBy = "Ersetzt durch";
inline constexpr const char* kCreatedBy = "Erstellt von";
inline constexpr const char* kDescription = "Beschreibung";
inline constexpr const char* kChange = "\x8Enderung";
inline constexpr const char* kDate = "Datum";
inline constexpr const char* kName = "Name";
inline constexpr const char* kDinRows[3] = {"Bearb.", "Gepr.", "Norm"};
inline constexpr const char* kIsoRows[3] = {"Erstellt durch", "Genehmigt von", "Technische Referenz"};
inline constexpr const char* kIsoFields[3] = {"Verantwortl. Abt.", "Dokumentenart",
                                              "Dokumentenstatus"};
inline constexpr int kMaxReplacement = 15;
}  // namespace docu

// The messages of this part (CP850).
inline constexpr const char* kMsgMaxChanges = "Max. \x8Enderungen = 25 !";
inline constexpr const char* kMsgDeleteChange = "L\x94schen ?";
inline constexpr const char* kMsgProgramMissing = "Programm nicht gefunden oder nicht ausf\x81hrbar: ";
inline constexpr const char* kMsgProgramNotStarted = "Programm kann nicht gestartet werden: ";
inline constexpr const char* kMsgNoFile = "Keine Datei angegeben";

// Today's date in the configured date format.
std::string TodayText(const NumberStyle& ns, const Clock& clock);

// File > New: no changes, the creation date today, the names, the other
// dates, the replacement and ISO fields, the free texts and the project's
// three text lines cleared.
void ResetDocumentation(CamProject& p, const NumberStyle& ns, const Clock& clock);
// At program start the three signature dates are today's date.
void StartDocumentation(CamProject& p, const NumberStyle& ns, const Clock& clock);

// The titles the title block standard gives: ISO 7200 for the forms 1 and 2.
inline bool IsoTitleBlock(int titleBlockForm) { return titleBlockForm == 1 || titleBlockForm == 2; }

// The index of change i in the protocol: the number with the style
// "1,2,3...", else the lower-case letter.
std::string ProtocolIndex(int style, int i);

// The "Änderungsprotokoll" through the report engine: target 1 (the text
// window) to show it, target 0 (the configured target) to print it, or a
// file target. False when nothing was written.
bool ChangeProtocol(ReportEngine& engine, int target);

// The change dialog TForm_EinAend for record `number`.
ChangeForm FillChangeForm(const ChangeRecord& r, int number, const std::string& today);
// Stores the four fields; a text that CP850 cannot hold or that is too long
// is refused: the CP850 message, and r is left unchanged.
std::string StoreChangeForm(const ChangeForm& f, ChangeRecord& r);

// The drawing information dialog TForm_zeichInfo in the form of the title
// block standard.
DrawingInfoForm FillDrawingInfoForm(const CamProject& p, const Settings& s, const std::string& today);
// Stores the fields (the ISO document fields only with an ISO title block)
// and every free-text row whose text is not empty, in grid order; a number
// cell the user did not change keeps its exact value. A refused text leaves
// the project unchanged and gives the CP850 message.
std::string StoreDrawingInfoForm(const DrawingInfoForm& f, const Settings& s, CamProject& p);

// The document links dialog TForm_confDoku.
DocumentLinksForm FillDocumentLinksForm(const CamProject& p, const std::string& windowCaption);
std::string StoreDocumentLinksForm(const DocumentLinksForm& f, CamProject& p);

// A program field that means "the file's own application": empty, or one of
// the Windows programs old projects name by default.
bool OpensWithAssociatedApplication(const std::string& program);
// "Exec Prog": the program gets the file as its one argument (none when the
// file field is empty), started without a shell; a program that is missing
// or not executable gets an error box.
void ExecDocumentProgram(Ui& ui, const std::string& program, const std::string& file);
// "Exec File": the file opened with its associated application.
void ExecDocumentFile(Ui& ui, const std::string& file);

// What the commands of the menu "Dokument" need from the session.
struct DocuContext {
  CamProject& project;
  Ui& ui;                    // its flags carry abortFlag and modified
  const Settings& settings;
  const Clock& clock;
  std::function<ReportEngine&()> reports;  // the session's report engine
  std::string windowCaption;               // UTF-8, for the document links dialog
};

// "Neue Änderung": a record dated today, edited; a cancelled dialog takes it
// away again. Afterwards the protocol is shown.
void NewChange(DocuContext& c);
// "Letzte Änderung bearbeiten": the newest record, then the protocol.
void ModifyLastChange(DocuContext& c);
// "Letzte Änderung löschen": after "Löschen ?" the newest record goes; the
// protocol is shown in any case unless the question was answered No.
void DeleteLastChange(DocuContext& c);
// The change-record commands by mode: 1 new, 2 modify, 3 delete, 4 show, 5 print.
void ChangeRecords(DocuContext& c, int mode);
void EditDrawingInfo(DocuContext& c);
void EditDocumentLinks(DocuContext& c);

}  // namespace kamo
