#include "ui/dialogs.h"

const char* const NoticeText =
    "WARNING: Forcing a firmware upgrade on your NUV\r\n"
    "without prior approval from your service provider or\r\n"
    "network administrator may cause interruption to your\r\n"
    "service.  If your NUV is managed by a service\r\n"
    "provider who retains administrative control of the\r\n"
    "device, please contact the service provider for\r\n"
    "authorization before proceeding.  In such cases, the\r\n"
    "most current, approved for service firmware is\r\n"
    "automatically provided by your service provider without\r\n"
    "any onus on the end user to upgrade manually.";

const char* const AdapterHelpText =
    "To proceed, please provide the IP address\r\n"
    "of your NUV. To find out the IP address\r\n"
    "of your NUV, using a telephone handset,\r\n"
    "enter # 0 # 0, option 110#, and write down\r\n"
    "the value. For example, 10.1.0.123\r\n"
    "\r\n"
    "Please enter IP address of your NUV:";

const char* const HandsetHelpText =
    "To proceed, please provide the IP address\r\n"
    "of your NUV. To find out the IP address of\r\n"
    "your NUV, press the I button on the phone,\r\n"
    "select \"Network\" option, and check the\r\n"
    "value of \"Current IP\". For example, 10.1.0.13\r\n"
    "\r\n"
    "Please enter IP address of your NUV:";

const char* const PasswordHelpText =
    "This NUV requires a password in order to be\r\n"
    "upgraded. If you do not have administrator's\r\n"
    "privileges for this unit, please contact your\r\n"
    "Service Provider or network administrator,\r\n"
    "before proceeding.\r\n"
    "\r\n"
    "You must provide the NUV administrator's\r\n"
    "password to upgrade. If you are the administrator\r\n"
    "and forgot the password, you may perform a\r\n"
    "factory reset by entering # 0 # 0, option 41926#,\r\n"
    "and value 1 from a telephone connected to the\r\n"
    "unit to be upgraded.\r\n"
    "\r\n"
    "* * * * * * * * * * *  Warning  * * * * * * * * * * *\r\n"
    "All settings will revert to default values\r\n"
    "after factory reset!  You may not be able to\r\n"
    "reestablish service after completing this upgrade\r\n"
    "without first reentering service configuration\r\n"
    "information.";

const char* const ConfirmBaseText =
    "The following information was extracted\r\n"
    "from your NUV. Please click \"Upgrade\"\r\n"
    "if you would like to proceed. If you would\r\n"
    "like to quit click \"Cancel\".";

const char* const SuccessText =
    "Your NUV has been successfully\r\n"
    "upgraded to the version shown\r\n"
    "below.";
