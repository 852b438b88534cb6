#include "model/app_data.h"

AppData theAppData;
AppData *appData = &theAppData;

void appDataSetDefaults()
{
    AppData *app = appData;
    app->geometryOption[0] = '\0';
    app->localeOption[0] = '\0';
    app->tzOption[0] = '\0';
    app->siteName[0] = '\0';
    app->stlFileIoPath[0] = '\0';
    app->saveImagePath[0] = '\0';
    app->userObjectFilePath[0] = '\0';
    app->sceneLoading = 0;
    app->stepBox = nullptr;
    app->todayDialog = nullptr;
    app->commandDialog = nullptr;
    app->skyMarkFiles = nullptr;
    app->skyMarkFileCount = 0;
    app->lineWidth = 0;
    app->blinkTime = 10;
    app->commandFromSocket = 0;
    app->socketAddress[0] = '\0';
    app->listenFd = -1;
    app->listenInputId = 0;
    app->clientFd = -1;
    app->clientInputId = 0;

    // The documented values of fields whose owners (resources, options,
    // arguments) set them later; a record used before they run, as in tests
    // or a start-up that stops early, still holds sane values.
    app->pixelAspect = 1.0;
    app->minDiskRadius = 7;
    app->saveHistory = 10;
    app->confirmQuit = 1;
    app->confirmInit = 1;
    app->runStartupScript = 1;
}
