#!/usr/bin/env python3
"""The closing face must read as a face to a detector we did not write: OpenCV's frontal face
cascade has to find one in every frontal frame, from the tilt's last seconds through both morphs
to the start of the fade, and still does so with the picture halved (a smaller head on screen).

usage: face_detector_test.py BUILD_DIR   (run in the build folder by ctest, under Xvfb)
"""
import pathlib
import subprocess
import sys
import tempfile

try:
    import cv2
except ImportError:
    sys.exit("face_detector_test: python3-opencv is missing (tools/setup.sh installs it)")

CASCADE = pathlib.Path("/usr/share/opencv4/haarcascades/haarcascade_frontalface_default.xml")
FROM, TO, FPS = 160.0, 168.5, 2  # after 169 s the fade takes the face away
SIZE = (960, 540)


def faces(detector, image):
    """The detections that sit where the portrait's face is: across the picture's middle third,
    above the shoulders (the face rises from the middle to the top third as the camera turns to
    it). A hit on the shoulders or the background is not the face."""
    grey = cv2.equalizeHist(cv2.cvtColor(image, cv2.COLOR_BGR2GRAY))
    height, width = grey.shape
    found = detector.detectMultiScale(grey, scaleFactor=1.05, minNeighbors=4, minSize=(24, 24))
    return [(x, y, w, h) for x, y, w, h in found
            if width / 3 < x + w / 2 < 2 * width / 3 and y + h / 2 < 0.75 * height]


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    if not CASCADE.exists():
        sys.exit(f"face_detector_test: {CASCADE} is missing (opencv-data)")
    detector = cv2.CascadeClassifier(str(CASCADE))
    with tempfile.TemporaryDirectory() as frames:
        subprocess.run([str(build / "qvl_capture"), "--hidden", "--size", f"{SIZE[0]}x{SIZE[1]}",
                        "--from", str(FROM), "--to", str(TO), "--fps", str(FPS), "--out-dir", frames],
                       cwd=build, check=True, stdout=subprocess.DEVNULL)
        pictures = sorted(pathlib.Path(frames).glob("*.png"))
        expected = int((TO - FROM) * FPS) + 1
        if len(pictures) < expected:
            sys.exit(f"face_detector_test: {len(pictures)} frames captured, {expected} expected")
        missed = []
        for number, picture in enumerate(pictures[:expected]):
            time = FROM + number / FPS
            image = cv2.imread(str(picture))
            half = cv2.resize(image, (SIZE[0] // 2, SIZE[1] // 2), interpolation=cv2.INTER_AREA)
            found, found_half = len(faces(detector, image)), len(faces(detector, half))
            print(f"{time:6.1f} s: {found} face(s), {found_half} at half size")
            if not found or not found_half:
                missed.append(time)
    if missed:
        sys.exit("face_detector_test: no face found at " + ", ".join(f"{t:.1f} s" for t in missed))


if __name__ == "__main__":
    main()
