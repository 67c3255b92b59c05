// The page driven in Debian's Chromium: every control found by its role and Spanish name, every
// picture compared with vexilon-render's pixel for pixel, every download with its file byte for byte.
// Usage: node page_test.mjs BUILD-WEB-DIR VEXILON-RENDER
import {startHarness} from './harness.mjs';
import {run as runViewTests} from './view_tests.mjs';
import {run as runMotionTests} from './motion_tests.mjs';
import {run as runSceneTests} from './scene_tests.mjs';
import {run as runStorageTests} from './storage_tests.mjs';
import {run as runScreenTests} from './screen_tests.mjs';
import {run as runServeTests} from './serve_tests.mjs';
import {run as runSectionTests} from './section_tests.mjs';
import {run as runSavingTests} from './saving_tests.mjs';
import {run as runEquationTests} from './equation_tests.mjs';
import {run as runPresentationTests} from './presentation_tests.mjs';

const h = await startHarness(...process.argv.slice(2, 4));
await runViewTests(h);
await runMotionTests(h);
await runSceneTests(h);
await runStorageTests(h);
await runScreenTests(h);
await runServeTests(h);
await runSectionTests(h);
await runSavingTests(h);
await runEquationTests(h);
await runPresentationTests(h);
process.exit(await h.finish() ? 0 : 1);
