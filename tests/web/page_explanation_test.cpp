// What the page's binding hands the page of the run's explanation and its trace table.
#include "web/binding/page_workbench.h"

#include <gtest/gtest.h>

namespace casl::web {
namespace {

const std::string program = "P\tSTART\n\tLD\tGR1,A\n\tLAD\tGR2,1\n\tRET\nA\tDC\t'\"'\n\tEND\n";

TEST(PageExplanation, TheTipsReadsAndPredictionsTravelAsJson) {
    PageWorkbench workbench;
    workbench.assemble(program);
    workbench.startTrace(program);
    workbench.setPrediction(1, "#0022");
    workbench.next();
    const std::string json = workbench.explanation();
    EXPECT_NE(json.find(R"({"tip":"GR1: written at step 2, line 2: LD GR1,A","writerStep":2})"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("readsText":"read: A 0007 = 0022")"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("dataAreaReads":[2])"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("predictionResults":["","right",)"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("predictionsRight":1,"predictionsMade":1})"), std::string::npos);
    workbench.stepBackToStep(1);
    EXPECT_NE(workbench.explanation().find(R"("step":1,)"), std::string::npos);
}

TEST(PageExplanation, TheTableComesAsCsvMarkdownOrCells) {
    PageWorkbench workbench;
    workbench.assemble(program);
    workbench.startTrace(program);
    workbench.next();
    EXPECT_EQ(workbench.traceTable("csv", "GR1"),
              "step,line,instruction,GR1,written\r\n1,1,START,0000,\r\n"
              "2,2,\"LD GR1,A\",0022,\r\n");
    EXPECT_EQ(workbench.traceTable("cells", "GR1,ZF"), workbench.traceTable("cells", ""))
        << "columns that name no value show them all";
    EXPECT_EQ(workbench.traceTable("cells", "GR1"),
              R"([["step","line","instruction","GR1","written"],["1","1","START","0000",""],)"
              R"(["2","2","LD GR1,A","0022",""]])");
    EXPECT_EQ(workbench.traceTable("markdown", "SP").substr(0, 37),
              "| step | line | instruction | SP | wr");
}

} // namespace
} // namespace casl::web
