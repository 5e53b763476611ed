// Climadesk: a desktop program for the Sentrel32 temperature and humidity logger.
#include "app/startup.h"

int main()
{
    return app::run();
}
