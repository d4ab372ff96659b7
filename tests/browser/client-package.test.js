// The client as a package: `npm pack` in clients/js gives a tarball that installs into a
// scratch project, whose code imports it by name and reads the real service with it (Node's
// fetch stands in for a browser's). ZIR_PROGRAM and ZIR_LAUNCHER: see harness.js.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { root, freePort, startZir } = require('./harness');

function run(command, args, cwd) {
  return childProcess.execFileSync(command, args, { cwd, encoding: 'utf8' });
}

test('the packed client installs, imports by name, and reads the card', async () => {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'zir-client-'));
  const zir = await startZir('CardType=1\nName=张三\nUid=A1B2C3D4\n');
  try {
    const tarball = run('npm', ['pack', '--silent', '--pack-destination', scratch],
                        path.join(root, 'clients', 'js')).trim().split('\n').pop();
    fs.writeFileSync(path.join(scratch, 'package.json'), '{"private":true,"type":"module"}');
    run('npm', ['install', '--no-audit', '--no-fund', '--offline', '--loglevel=error',
                path.join(scratch, tarball)], scratch);
    const installed = path.join(scratch, 'node_modules', 'zir-client');
    assert.deepEqual(fs.readdirSync(installed).sort(), ['package.json', 'zir.d.ts', 'zir.js']);

    fs.writeFileSync(path.join(scratch, 'read.js'), `
      import { ZirClient, ZirError } from 'zir-client';
      const zir = new ZirClient({ port: Number(process.argv[2]) });
      const gone = new ZirClient({ port: Number(process.argv[3]) });
      const status = await zir.status();
      const uid = await zir.readUid();
      const error = await gone.readUid().catch((e) => e);
      console.log(JSON.stringify({ reader: status.reader, uid: uid.uid,
                                   error: error instanceof ZirError && error.code }));`);
    const out = run('node', ['read.js', String(zir.port), String(await freePort())], scratch);
    assert.deepEqual(JSON.parse(out), { reader: 'ready', uid: 'A1B2C3D4', error: 'not-running' });
  } finally {
    await zir.stop();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
});
