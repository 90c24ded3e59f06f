#include "app/application.h"

int main(int argc, char** argv)
{
    return parlix::runApplication(argc, argv);
}
