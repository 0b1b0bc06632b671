#include "mail/MailServer.h"

int StandardPort(TMailSecurity security) {
    switch (security) {
        case TMailSecurity::StartTls: return 587;
        case TMailSecurity::Tls: return 465;
        case TMailSecurity::None: break;
    }
    return 25;
}
