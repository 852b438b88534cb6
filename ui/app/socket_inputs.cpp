#include "ui/app/socket_inputs.h"

#include "command/socket_server.h"

namespace {

XtAppContext inputContext;

void listenerReadable(XtPointer, int *, XtInputId *)
{
    socketAcceptCb();
}

void clientReadable(XtPointer chart, int *, XtInputId *)
{
    socketReadCb(static_cast<ChartState *>(chart));
}

XtInputId watchListener(int fd)
{
    return XtAppAddInput(inputContext, fd, reinterpret_cast<XtPointer>(XtInputReadMask),
                         listenerReadable, nullptr);
}

XtInputId watchClient(int fd, ChartState *chart)
{
    return XtAppAddInput(inputContext, fd, reinterpret_cast<XtPointer>(XtInputReadMask),
                         clientReadable, chart);
}

void unwatch(XtInputId id)
{
    XtRemoveInput(id);
}

} // namespace

void socketInputsUse(XtAppContext app)
{
    inputContext = app;
    socketInputs = SocketInputs{watchListener, watchClient, unwatch};
}
