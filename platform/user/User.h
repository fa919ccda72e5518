#pragma once
// The whole window manager interface.
#include "platform/user/Input.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/Timer.h"
#include "platform/user/UserTypes.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowStyles.h"
