#pragma once
// The parts the capture control builds for itself. It sits in the contact editor's
// layout, so that is where the layout test finds them.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace camera_ui {
inline constexpr LayoutControl kLiveView{"CameraWnd", "QWidget"};
inline constexpr LayoutControl kShoot{"camera_shoot", "QPushButton"};
inline constexpr LayoutControl kRetake{"camera_retake", "QPushButton"};
inline constexpr LayoutControl kKeep{"camera_keep", "QPushButton"};
inline constexpr LayoutControl kUploaded{"camera_uploaded", "QLabel"};
inline constexpr LayoutControl kUploadedPlus{"camera_uploaded_plus", "QLabel"};
inline constexpr LayoutControl kUploadList{"camera_upload_list", "kivtal::UploadListView"};
inline constexpr LayoutControl kUseReading{"camera_use_reading", "QPushButton"};
inline constexpr LayoutControl kToDesk{"camera_to_desk", "QPushButton"};

inline constexpr LayoutControl kAll[] = {kLiveView,     kShoot,      kRetake,     kKeep,  kUploaded,
                                         kUploadedPlus, kUploadList, kUseReading, kToDesk};
}  // namespace camera_ui
inline constexpr LayoutControls kCameraUIControls{"AddConnection.xml", camera_ui::kAll};

}  // namespace kivtal
