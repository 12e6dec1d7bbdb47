#pragma once

#include "web/binding/page_exercise.h"
#include "web/binding/page_explanation.h"
#include "web/binding/page_files.h"
#include "web/binding/page_keys.h"
#include "web/binding/page_link.h"
#include "web/binding/page_tokens.h"
#include "web/binding/page_view.h"
#include "workbench/workbench.h"

#include <string>
#include <string_view>
#include <vector>

namespace casl::web {

/// The working session as the page drives it: texts in UTF-8 with LF line ends at this edge,
/// files as bytes. Every command returns nothing; the page then renders `view()`.
class PageWorkbench {
public:
    PageWorkbench();

    /// What the page shows now. The editor's text, the listing and the displays come only when
    /// they changed since the last call (their revision tells), so that a keystroke does not
    /// carry the whole program across.
    PageView view();

    // The editor.
    void editorKeyDown() { model_.editorKeyDown(); }
    void editorTextChanged(bool byUser) { model_.editorTextChanged(byUser); }
    void clickLine(int editorLine) { model_.clickLine(editorLine); }
    void clearBreakpoint() { model_.clearBreakpoint(); }
    int editorLineOfListingLine(int listingLine) const {
        return model_.editorLineOfListingLine(listingLine);
    }
    /// The coloured tokens of one editor line (see `pageLineTokens`).
    std::vector<PageToken> lineTokens(const std::string& line, bool traceListing) const;
    /// The examples menu's caption of the example `name` whose file holds `bytes`.
    std::string exampleCaption(const std::string& name, const std::string& bytes) const;
    /// Typed text as the editor inserts it, upper-cased.
    std::string upperCased(const std::string& typed) const;
    /// What a key does during a run: "next", "stepBack", "pressFocusedButton" or "".
    std::string keyCommand(const std::string& key, bool buttonFocused) const;
    /// What a key (as the browser names it, with its modifiers) does in the editor, as
    /// `editorKeyCommandName` names it; `afterEscape` tells whether the key before it in the
    /// editor was answered "awaitLeave".
    std::string editorKeyCommand(const std::string& key, bool shift, bool otherModifier,
                                 bool afterEscape) const {
        return editorKeyCommandName(
            casl::editorKeyCommand(pageEditorKey(key, shift, otherModifier), afterEscape));
    }

    // Assemble and trace.
    void assemble(const std::string& pageText);
    void startTrace(const std::string& pageText);
    void next() { model_.next(); }
    void end() { model_.end(); }
    void stepBack() { model_.stepBack(); }
    void setSimpleDisplay(bool simple) { model_.setSimpleDisplay(simple); }

    // What the session explains about the run.
    /// `view().explanation` as JSON.
    std::string explanation() const { return explanationJson(model_.view().explanation); }
    void stepBackToStep(double step) { model_.stepBackToStep(static_cast<std::uint32_t>(step)); }
    void setPrediction(int value, const std::string& text);
    /// The trace table with the `columns` named ("" for all): "csv" or "markdown" as text
    /// (CSV keeps its CR LF), "cells" as a JSON array of rows (the header first, then the
    /// newest rows the panel shows).
    std::string traceTable(const std::string& format, const std::string& columns) const;
    void answer(const PageAnswer& answer) { model_.answer(boxAnswer(answer)); }

    // The file commands.
    void newFile(const std::string& pageText);
    void openFile(const std::string& pageText);
    void openExample(const std::string& pageText, const std::string& name);
    void saveAs(const std::string& pageText);
    void overwriteSave(const std::string& pageText);
    /// The fragment of a link that carries the program, given as its text compressed by the
    /// page (deflate).
    std::string programLinkFragment(const std::string& compressed) const;
    /// What a link's fragment carries, before the page decompresses it.
    PageLinkData readLink(const std::string& fragment) const { return pageLinkData(fragment); }
    /// The most bytes a link's program may decompress to; the page reads no further.
    double maxLinkedProgramBytes() const;
    /// Opens the program of a link: its decompressed bytes.
    void openLink(const std::string& pageText, std::string bytes);
    /// A link that gave no program: the session shows why (`problem` as `linkProblemName`).
    void openUnreadableLink(const std::string& pageText, const std::string& problem);
    /// The program a link to the open exercise carries, for the page to compress: the editor's,
    /// or "" when the link needs none.
    std::string exerciseLinkProgram(const std::string& pageText) const;
    /// The fragment of a link to the open exercise with the program `compressed` ("" for none).
    std::string exerciseLinkFragment(const std::string& compressed) const;
    /// Opens the exercise `name` of a link (its files as `openExercise` takes them) with the
    /// program the link carries when `carriesProgram`: its decompressed `bytes`, or why they
    /// could not be had (`problem` as `linkProblemName`, "" when they could).
    void openExerciseLink(const std::string& pageText, const std::string& name,
                          const std::string& tests, const std::string& startProgram,
                          bool carriesProgram, const std::string& problem, std::string bytes);
    /// A link to the exercise `name`, which the page does not have.
    void openUnknownExerciseLink(const std::string& name);
    /// The bytes of the file `name` (chosen in the file picker, or an example) for the session
    /// to read.
    void offerFile(const std::string& name, std::string bytes);
    /// The file a save wrote, to be downloaded.
    PageDownload takeDownload() { return files_.takeDownload(); }
    /// The current file's format as a short text the page keeps between visits.
    std::string fileFormat() const { return formatName(model_.format()); }
    /// A reloaded page takes back its file's name, format (a text that names no format keeps
    /// the one of a new program) and modified mark.
    void restoreFile(const std::string& fileName, const std::string& format, bool modified);

    // Exercises.
    /// The open exercise; the page shows it again when its revision changed.
    PageExercise exercise() const { return pageExercise(model_.view().exercise); }
    /// The menu's title of the exercise `name` whose test file holds `tests`.
    std::string exerciseTitle(const std::string& name, const std::string& tests) const;
    /// Opens the exercise `name` of the test file `tests`; `startProgram` names its starting
    /// program, offered before with `offerFile` ("" for none).
    void openExercise(const std::string& pageText, const std::string& name,
                      const std::string& tests, const std::string& startProgram);
    void checkExercise(const std::string& pageText);
    void startCaseRun(const std::string& pageText, int index);
    void closeExercise() { model_.closeExercise(); }

private:
    PageSourceFiles files_;
    Workbench model_;
    double deliveredEditor_ = -1;
    double deliveredListing_ = -1;
    double deliveredDisplays_ = -1;
};

} // namespace casl::web
