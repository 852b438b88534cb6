#include "model/ui_hooks.h"

#include "model/app_data.h"
#include "model/chart_state.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void defaultOpenMessageBox(Widget, const char *text, int)
{
    std::fprintf(stderr, "tavik: %s\n", text ? text : "");
}

int defaultAskQuestion(Widget, const char *) { return 0; }
void defaultAppQuit(int) {}
void chartNoOp(ChartState *) {}
void defaultToolbarRefreshOne(ChartState *, int, int, int) {}
void defaultSetClickDataDialogVisible(ChartState *, int) {}
int defaultOpenInputDialog(ChartState *, int) { return 0; }
int defaultToolbarManaged() { return appData->toolBar != nullptr; }
void defaultOpenGaugeDialog(const char *) {}
void defaultGaugeDlgSetPercent(int) {}
int defaultGaugeDlgCancelled() { return 0; }
void defaultCloseGaugeDialog() {}
void defaultSetPlayWorkProc(ChartState *chart, int on) { chart->playWorkProc = on ? 1 : 0; }
void defaultSetPlayTimer(ChartState *chart, long long ms) { chart->playTimerId = ms >= 0 ? 1 : 0; }
void defaultSetTipHelp(int) {}
// Through the field, so that a test's recording sees these boxes too.
void defaultOpenMessageBoxOnce(Widget parent, const char *text, int type)
{
    uiHooks.openMessageBox(parent, text, type);
}

struct RecordedMessage {
    int type;
    std::string text;
};
std::vector<RecordedMessage> recordedMessages;

void recordMessageBox(Widget, const char *text, int type)
{
    recordedMessages.push_back({type, text ? text : ""});
}

// Constant-initialised, so a hook is callable before any constructor runs.
constexpr UiHooks kDefaultHooks = {
    defaultOpenMessageBox,
    defaultAskQuestion,
    defaultAppQuit,
    chartNoOp,                        // chartRefresh
    chartNoOp,                        // toolbarRefreshAll
    chartNoOp,                        // toolbarRefreshChanged
    defaultToolbarRefreshOne,
    chartNoOp,                        // viewUpdateScrollBars
    chartNoOp,                        // repaintClickData
    chartNoOp,                        // refreshTodayDialog
    defaultSetClickDataDialogVisible,
    chartNoOp,                        // updateClickDataButtons
    defaultOpenInputDialog,
    defaultToolbarManaged,
    defaultOpenGaugeDialog,
    defaultGaugeDlgSetPercent,
    defaultGaugeDlgCancelled,
    defaultCloseGaugeDialog,
    defaultSetPlayWorkProc,
    defaultSetPlayTimer,
    defaultOpenMessageBoxOnce,
    defaultSetTipHelp,
};

} // namespace

UiHooks uiHooks = kDefaultHooks;

void uiHooksReset() { uiHooks = kDefaultHooks; }

void uiHooksRecordMessages()
{
    recordedMessages.clear();
    uiHooks.openMessageBox = recordMessageBox;
}

int uiHooksRecordedMessageCount() { return static_cast<int>(recordedMessages.size()); }

const char *uiHooksRecordedMessageText(int i)
{
    if (i < 0 || i >= uiHooksRecordedMessageCount())
        return nullptr;
    return recordedMessages[static_cast<size_t>(i)].text.c_str();
}

int uiHooksRecordedMessageType(int i)
{
    if (i < 0 || i >= uiHooksRecordedMessageCount())
        return 0;
    return recordedMessages[static_cast<size_t>(i)].type;
}
