"""The About box: modal, closed every way, the same at every opening."""

import pathlib
import tempfile
import unittest

from kestrel_harness import Drives, Kestrel, same_image, stable_screenshot


class About(unittest.TestCase):
    def test_modal_box_closes_every_way_and_looks_the_same_each_time(self):
        closers = [
            ("Enter", lambda app: app.key("Return", "^About$")),
            ("Escape", lambda app: app.key("Escape", "^About$")),
            ("Ok button", lambda app: app.driver("about-ok")),
            ("close box", lambda app: app.driver("about-close")),
        ]
        with tempfile.TemporaryDirectory() as shots, Drives({}), Kestrel() as app:
            shots = pathlib.Path(shots)
            app.wait_ready()
            for number, (name, close) in enumerate(closers):
                with self.subTest(name):
                    app.click("About")
                    state = app.wait_for(lambda s: s["about"], what="the About box")
                    self.assertFalse(state["enabled"], "the main window stays usable")
                    [box] = state["dialogs"]
                    self.assertEqual(box["caption"], "About")
                    self.assertCentredOver(box["rect"], state["rect"])

                    shot = stable_screenshot(shots / f"about-{number}.png", box["rect"])
                    if number:
                        self.assertTrue(same_image(shots / "about-0.png", shot), "looks different")
                    else:
                        self.assertScreenReadersReadWhatIsShownAndTabReachesTheLinks(app, box)

                    close(app)
                    state = app.wait_for(lambda s: not s["about"], what="the About box to close")
                    self.assertTrue(state["enabled"])
                    self.assertEqual(state["dialogs"], [])
            app.key("alt+x")
            self.assertEqual(app.wait_exit(), 0)

    def assertScreenReadersReadWhatIsShownAndTabReachesTheLinks(self, app, box):
        texts = dict(box["children"])
        self.assertEqual([texts[i] for i in (1000, 1004, 1009)],
                         ["Kestrel v1.14", "\u00a9 2026 Corvel Freeware\nAll rights reserved.", "Kestrel"])
        self.assertTrue(texts[1001].startswith("http") and "@" in texts[1003] and
                        texts[1005].startswith("This program will scan"), texts)
        focus = [box["focus"]]
        for _ in range(6):
            app.key("Tab", "^About$")
            focus.append(app.wait_for(lambda s: s["dialogs"][0]["focus"] != focus[-1],
                                      what="the focus to move")["dialogs"][0]["focus"])
        self.assertEqual(focus, [2, 1000, 1001, 1003, 1004, 1009, 2])

    def assertCentredOver(self, inner, outer):
        inner_centre = ((inner[0] + inner[2]) / 2, (inner[1] + inner[3]) / 2)
        outer_centre = ((outer[0] + outer[2]) / 2, (outer[1] + outer[3]) / 2)
        self.assertLessEqual(abs(inner_centre[0] - outer_centre[0]), 1.5)
        self.assertLessEqual(abs(inner_centre[1] - outer_centre[1]), 1.5)


if __name__ == "__main__":
    unittest.main(verbosity=2)
